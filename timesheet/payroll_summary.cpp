#include "timesheet/payroll_summary.h"

#include <QFileInfo>
#include <algorithm>
#include <iterator>
#include <set>

#include "timesheet/entry_placement.h"
#include "timesheet/rejected_rates.h"
#include "timesheet/template_layout.h"

namespace tallowby::payroll_summary {

namespace {

int compareFolded(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive);
}

int compareNames(const QString& a, const QString& b) {
    if (const int folded = compareFolded(a, b); folded != 0) return folded;
    return QString::compare(a, b, Qt::CaseSensitive);
}

}  // namespace

int64_t SummaryRow::totalMinutes() const {
    int64_t total = 0;
    for (const auto& [description, figures] : rates) total += figures.minutes;
    return total;
}

double SummaryRow::totalPay() const {
    double total = 0;
    for (const auto& [description, figures] : rates) total += figures.pay;
    return total;
}

int64_t PayrollSummary::totalMinutes() const {
    int64_t total = 0;
    for (const SummaryRow& row : rows) total += row.totalMinutes();
    return total;
}

double PayrollSummary::totalPay() const {
    double total = 0;
    for (const SummaryRow& row : rows) total += row.totalPay();
    return total;
}

SummaryRow rowOf(const TimesheetRecord& record, const QString& source,
                 const week_totals::RateReader& readRate) {
    using template_layout::kTemplateRateColumns;
    SummaryRow row{record.employee,
                   record.supervisor,
                   record.company,
                   record.weekStart,
                   QFileInfo(source).fileName(),
                   {}};
    const size_t typed = record.rates.size();
    const size_t columns = std::max(typed, static_cast<size_t>(kTemplateRateColumns));
    // The sheet's rate columns: the typed rates, then the template's own
    // headings with no rate in the columns no typed rate reached.
    std::vector<RateEntry> sheetRates = record.rates;
    for (size_t i = typed; i < columns; ++i)
        sheetRates.push_back({QString::fromLatin1(kDefaultRateDescriptions[i]), QString()});

    // Only what the run writes counts: entries it leaves out are left out here.
    const EntryPlacement placement = placeEntries(record.hours, static_cast<int>(columns));
    std::vector<HoursEntry> placed;
    for (const PlacedCell& cell : placement.cells)
        placed.insert(placed.end(), cell.entries.begin(), cell.entries.end());
    // A rate the run refuses is not written and its pay shows 0.00.
    const week_totals::RateReader writtenRate =
        [&readRate](const QString& rate) -> std::optional<double> {
        const std::optional<double> number = readRate ? readRate(rate) : std::nullopt;
        if (rateRefusal(rate, number)) return std::nullopt;
        return number;
    };
    const week_totals::WeekTotals totals = week_totals::compute(sheetRates, placed, writtenRate);

    for (size_t i = 0; i < columns; ++i) {
        const int minutes = totals.rateMinutes[i];
        // The template's spare columns count only when hours went there.
        if (i >= typed && minutes == 0) continue;
        RateFigures& figures = row.rates[sheetRates[i].description.trimmed()];
        figures.minutes += minutes;
        figures.pay += totals.ratePay[i].value_or(0.0);
    }
    return row;
}

bool rowOrder(const SummaryRow& a, const SummaryRow& b) {
    // "ada" and "Ada" are one person: their weeks go together.
    if (const int c = compareFolded(a.employee, b.employee); c != 0) return c < 0;
    if (a.weekStart != b.weekStart) return a.weekStart < b.weekStart;
    if (const int c = compareNames(a.source, b.source); c != 0) return c < 0;
    if (const int c = compareNames(a.employee, b.employee); c != 0) return c < 0;
    if (const int c = compareNames(a.company, b.company); c != 0) return c < 0;
    return compareNames(a.supervisor, b.supervisor) < 0;
}

bool columnOrder(const QString& a, const QString& b) {
    return compareNames(a, b) < 0;
}

PayrollSummary summarize(std::vector<SummaryRow> rows) {
    PayrollSummary summary;
    std::stable_sort(rows.begin(), rows.end(), rowOrder);
    std::set<QString> seen;
    for (const SummaryRow& row : rows)
        for (const auto& [description, figures] : row.rates)
            if (seen.insert(description).second) summary.rateTypes << description;
    std::sort(summary.rateTypes.begin(), summary.rateTypes.end(), columnOrder);
    summary.rows = std::move(rows);
    return summary;
}

}  // namespace tallowby::payroll_summary
