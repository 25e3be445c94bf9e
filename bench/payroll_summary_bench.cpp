// The payroll summary of a payroll office's week: 1,000 and 10,000
// timesheets of three to eight rate types turned into rows, and the summary
// workbook built, recalculated and written, then read back as a merge does.
#include <benchmark/benchmark.h>

#include <QLocale>
#include <QTemporaryDir>

#include "timesheet/payroll_summary.h"
#include "timesheet/payroll_summary_workbook.h"
#include "workbook/automation/typed_number_text.h"

namespace {

using namespace tallowby;

std::vector<TimesheetRecord> office(int count) {
    const char* const names[] = {"Regular", "Overtime", "Night", "Weekend",
                                 "Travel",  "Training", "Sick",  "Holiday"};
    std::vector<TimesheetRecord> all;
    for (int t = 0; t < count; ++t) {
        TimesheetRecord r;
        r.employee = QStringLiteral("Employee %1").arg(t % 997);
        r.company = QStringLiteral("ACME Inc");
        r.weekStart = QDate(2026, 11, 30).addDays(-7 * (t / 997));
        const int rateTypes = 3 + t % 6;
        for (int i = 0; i < rateTypes; ++i)
            r.rates.push_back({QString::fromLatin1(names[i]), QString::number(10 + i) + ".25"});
        for (int e = 0; e < 20; ++e)
            r.hours.push_back(
                {"", "", QStringLiteral("0%1:%2").arg(e % 9).arg(e % 4 * 15, 2, 10, QChar('0')),
                 QString::number(e % 7), QString::number(e % rateTypes)});
        all.push_back(std::move(r));
    }
    return all;
}

std::vector<payroll_summary::SummaryRow> rowsOf(const std::vector<TimesheetRecord>& records) {
    const automation::TypedNumberReader reader{QLocale()};
    std::vector<payroll_summary::SummaryRow> rows;
    for (const TimesheetRecord& r : records)
        rows.push_back(payroll_summary::rowOf(r, QStringLiteral("t.ini"), reader));
    return rows;
}

void BM_SummaryRows(benchmark::State& state) {
    const std::vector<TimesheetRecord> records = office(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(rowsOf(records).size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SummaryRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SummaryWorkbookWritten(benchmark::State& state) {
    const payroll_summary::PayrollSummary summary =
        payroll_summary::summarize(rowsOf(office(static_cast<int>(state.range(0)))));
    QTemporaryDir dir;
    const QString path = dir.filePath("summary.xls");
    for (auto _ : state)
        benchmark::DoNotOptimize(payroll_summary::writeSummaryWorkbook(summary, path, dir.path()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SummaryWorkbookWritten)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SummaryWorkbookRead(benchmark::State& state) {
    const payroll_summary::PayrollSummary summary =
        payroll_summary::summarize(rowsOf(office(static_cast<int>(state.range(0)))));
    QTemporaryDir dir;
    const QString path = dir.filePath("summary.xls");
    payroll_summary::writeSummaryWorkbook(summary, path, dir.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(payroll_summary::readSummaryWorkbook(path).size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SummaryWorkbookRead)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
