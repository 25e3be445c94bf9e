#include "timesheet/payroll_summary.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "timesheet/generation_run.h"
#include "timesheet/payroll_summary_workbook.h"
#include "timesheet/template_layout.h"
#include "workbook/automation/application.h"
#include "workbook/automation/typed_number_text.h"
#include "workbook/run/private_temp_folder.h"

namespace tallowby {
namespace {

using namespace payroll_summary;

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

HoursEntry entry(const QString& hours, int day, int rate) {
    return {QStringLiteral("day"), QStringLiteral("type"), hours, QString::number(day),
            QString::number(rate)};
}

TimesheetRecord record(const QString& employee, QDate week, std::vector<RateEntry> rates,
                       std::vector<HoursEntry> hours) {
    TimesheetRecord r;
    r.company = QStringLiteral("ACME Inc");
    r.employee = employee;
    r.supervisor = QStringLiteral("Rolf Ambry");
    r.weekStart = week;
    r.rates = std::move(rates);
    r.hours = std::move(hours);
    return r;
}

SummaryRow rowFor(const TimesheetRecord& r, const QString& source = QStringLiteral("t.ini")) {
    return rowOf(r, source, automation::TypedNumberReader(kEnglish));
}

// Repeated entries, entries the sheet has no place for, hours that are no
// duration, a rate that is no number, two rates of one description, and
// hours in a template column beyond the typed rates.
TimesheetRecord trickyRecord() {
    return record(QStringLiteral("Ada"), QDate(2026, 11, 30),
                  {{"Regular", "20"}, {"Overtime", "30.5"}, {"Bonus", "abc"}, {"Regular", "10"}},
                  {entry("08:00", 0, 0), entry("01:30", 0, 0),  // repeated: one cell, 9:30
                   entry("02:15", 1, 1), entry("04:00", 7, 0),  // day 7 has no row
                   entry("03:00", 2, -1), entry("8:75", 3, 0),  // no rate; no duration
                   entry("05:00", 4, 2),                        // its rate is not written
                   entry("01:00", 5, 3),                        // the second "Regular"
                   entry("02:00", 6, 5),                        // template column "Unpaid"
                   entry("06:00", 1, 7)});                      // no eighth column
}

TEST(PayrollSummaryRow, CountsWhatTheSheetShowsAndLeavesOutWhatItLeavesOut) {
    const SummaryRow row = rowFor(trickyRecord(), QStringLiteral("/some/folder/ada.ini"));
    EXPECT_EQ(row.employee, "Ada");
    EXPECT_EQ(row.source, "ada.ini");
    ASSERT_EQ(row.rates.size(), 4u);  // Regular, Overtime, Bonus, Unpaid
    EXPECT_EQ(row.rates.at("Regular").minutes, 9 * 60 + 30 + 60);
    EXPECT_DOUBLE_EQ(row.rates.at("Regular").pay, 9.5 * 20 + 1 * 10);
    EXPECT_EQ(row.rates.at("Overtime").minutes, 135);
    EXPECT_DOUBLE_EQ(row.rates.at("Overtime").pay, 2.25 * 30.5);
    EXPECT_EQ(row.rates.at("Bonus").minutes, 300);
    EXPECT_EQ(row.rates.at("Bonus").pay, 0.0);
    EXPECT_EQ(row.rates.at("Unpaid").minutes, 120);
    EXPECT_EQ(row.totalMinutes(), 570 + 60 + 135 + 300 + 120);
    EXPECT_DOUBLE_EQ(row.totalPay(), 200 + 2.25 * 30.5);
}

TEST(PayrollSummaryRow, ATimesheetWithoutHoursHasItsRateTypesAtZero) {
    const SummaryRow row =
        rowFor(record(QStringLiteral("Bo"), QDate(2026, 11, 30), {{"Regular", "12"}}, {}));
    ASSERT_EQ(row.rates.size(), 1u);  // the template's spare columns hold nothing
    EXPECT_EQ(row.rates.at("Regular"), (RateFigures{0, 0.0}));
    EXPECT_EQ(row.totalMinutes(), 0);
    EXPECT_EQ(row.totalPay(), 0.0);
}

TEST(PayrollSummaryRow, RatesTooLargeForThePayFormulasPayNothing) {
    const SummaryRow row = rowFor(record(QStringLiteral("Cy"), QDate(2026, 11, 30),
                                         {{"Regular", "1e301"}}, {entry("01:00", 0, 0)}));
    EXPECT_EQ(row.rates.at("Regular").pay, 0.0);
    EXPECT_EQ(row.rates.at("Regular").minutes, 60);
}

// The figures of the workbook the generation run makes, column by column,
// are the row's: hours in the totals row, pay in the pay row, by heading.
TEST(PayrollSummaryRow, EqualsTheTimesheetWorkbookTheRunMakes) {
    QLocale::setDefault(kEnglish);
    // Beside the tricky week: more rates than the template's columns, rates
    // written with a currency sign, a group separator or a percent sign, long
    // and spaced hours, and hours of one cell that add up past a day.
    const std::vector<TimesheetRecord> records = {
        trickyRecord(), record(QStringLiteral("Wide"), QDate(2026, 11, 30),
                               {{"A", "$15"},
                                {"B", "1,250"},
                                {"C", "12.5%"},
                                {"D", " 7 "},
                                {"E", "-3"},
                                {"F", "0"},
                                {"G", "2.125"},
                                {"H", "99"},
                                {"I", ""}},
                               {entry("9999:59", 0, 0), entry(" 7:05 ", 1, 1), entry("0:00", 2, 2),
                                entry("23:30", 3, 3), entry("23:45", 3, 3), entry("01:00", 4, 4),
                                entry("02:30", 5, 5), entry("12:00", 6, 6), entry("03:15", 6, 7),
                                entry("04:00", 0, 8), entry("1:5", 1, 8)})};
    using namespace template_layout;
    for (const TimesheetRecord& r : records) {
        SCOPED_TRACE(r.employee.toStdString());
        PrivateTempFolder folder;
        const GenerationResult result = runGeneration(r, folder, GenerationHooks{});
        ASSERT_TRUE(result.handedOver);
        auto app = automation::CreateApplication();
        app->Workbooks().Open(result.resultPath, true);
        const int columns = std::max(static_cast<int>(r.rates.size()), kTemplateRateColumns);
        std::map<QString, RateFigures> shown;
        for (int column = kFirstRateColumn; column < kFirstRateColumn + columns; ++column) {
            const double hours = app->Cells(kHoursTotalsRow, column).number().value_or(0);
            const double pay = app->Cells(kPayRow, column).number().value_or(0);
            if (hours == 0 && column - kFirstRateColumn >= static_cast<int>(r.rates.size()))
                continue;
            RateFigures& f = shown[app->Cells(kRateHeadingRow, column).text()];
            f.minutes += std::llround(hours * 24 * 60);
            f.pay += pay;
        }
        const SummaryRow row = rowFor(r);
        ASSERT_EQ(shown.size(), row.rates.size());
        for (const auto& [description, figures] : row.rates) {
            SCOPED_TRACE(description.toStdString());
            ASSERT_TRUE(shown.count(description));
            EXPECT_EQ(shown[description].minutes, figures.minutes);
            EXPECT_NEAR(shown[description].pay, figures.pay, 1e-9 * std::max(1.0, figures.pay));
        }
        const int totalsColumn = kFirstRateColumn + columns;
        EXPECT_NEAR(app->Cells(kPayRow, totalsColumn).number().value_or(-1), row.totalPay(),
                    1e-9 * std::max(1.0, row.totalPay()));
        EXPECT_EQ(
            std::llround(app->Cells(kHoursTotalsRow, totalsColumn).number().value_or(-1) * 24 * 60),
            row.totalMinutes());
    }
    QLocale::setDefault(QLocale::system());
}

TEST(PayrollSummary, SortsByEmployeeThenWeekThenSourceAndUnitesRateTypes) {
    const QDate w1(2026, 11, 23), w2(2026, 11, 30);
    std::vector<SummaryRow> rows = {
        rowFor(record("bo", w2, {{"Regular", "10"}}, {}), "b.ini"),
        rowFor(record("Ada", w2, {{"Overtime", "15"}, {"Regular", "10"}}, {}), "z.ini"),
        rowFor(record("Ada", w2, {{"regular", "10"}}, {}), "a.ini"),
        rowFor(record("ada", w1, {{"Night", "12"}}, {}), "c.ini"),
        rowFor(record("Bo", w2, {{"Regular", "10"}}, {}), "a.ini"),
    };
    const PayrollSummary summary = summarize(rows);
    std::vector<QString> order;
    for (const SummaryRow& r : summary.rows) order.push_back(r.employee + "/" + r.source);
    EXPECT_EQ(order, (std::vector<QString>{"ada/c.ini", "Ada/a.ini", "Ada/z.ini", "Bo/a.ini",
                                           "bo/b.ini"}));
    // A rate type shared by description is one column; case makes another.
    EXPECT_EQ(summary.rateTypes, (QStringList{"Night", "Overtime", "Regular", "regular"}));
}

class SummaryWorkbookTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

std::vector<SummaryRow> mixedRows() {
    const QDate w1(2026, 11, 23), w2(2026, 11, 30);
    std::vector<SummaryRow> rows;
    rows.push_back(rowFor(trickyRecord(), "ada.ini"));
    rows.push_back(rowFor(record("Bo", w1, {{"Regular", "12.25"}, {"Night", "14"}},
                                 {entry("07:45", 0, 0), entry("03:10", 2, 1)}),
                          "bo-1.ini"));
    rows.push_back(rowFor(record("Bo", w2, {{"Regular", "12.25"}}, {}), "bo-2.ini"));
    rows.push_back(rowFor(record("Cy", w2, {}, {entry("02:00", 3, 4)}), "cy.ini"));
    return rows;
}

TEST_F(SummaryWorkbookTest, ReadsBackTheRowsItWrote) {
    const PayrollSummary summary = summarize(mixedRows());
    writeSummaryWorkbook(summary, path("all.xls"), dir.path());
    EXPECT_TRUE(isSummaryWorkbook(path("all.xls")));
    const PayrollSummary back = summarize(readSummaryWorkbook(path("all.xls")));
    EXPECT_EQ(back.rateTypes, summary.rateTypes);
    EXPECT_EQ(back.rows, summary.rows);
}

TEST_F(SummaryWorkbookTest, MergedShardsEqualTheSummaryOfAll) {
    const std::vector<SummaryRow> rows = mixedRows();
    writeSummaryWorkbook(summarize({rows[0], rows[3]}), path("shard-0.xls"), dir.path());
    writeSummaryWorkbook(summarize({rows[1], rows[2]}), path("shard-1.xls"), dir.path());
    writeSummaryWorkbook(summarize({}), path("shard-2.xls"), dir.path());  // a shard of nothing
    std::vector<SummaryRow> merged;
    for (const char* shard : {"shard-2.xls", "shard-1.xls", "shard-0.xls"}) {
        const std::vector<SummaryRow> read = readSummaryWorkbook(path(shard));
        merged.insert(merged.end(), read.begin(), read.end());
    }
    const PayrollSummary all = summarize(rows);
    const PayrollSummary fromShards = summarize(merged);
    EXPECT_EQ(fromShards.rateTypes, all.rateTypes);
    EXPECT_EQ(fromShards.rows, all.rows);
    EXPECT_EQ(fromShards.totalMinutes(), all.totalMinutes());
    EXPECT_DOUBLE_EQ(fromShards.totalPay(), all.totalPay());
}

// The grand-total row's cached results are the engine's recalculation of
// the SUM formulas, and equal the rows' figures.
TEST_F(SummaryWorkbookTest, GrandTotalsAreFormulasOverTheRows) {
    const PayrollSummary summary = summarize(mixedRows());
    writeSummaryWorkbook(summary, path("all.xls"), dir.path());
    auto app = automation::CreateApplication();
    automation::Workbook& book = app->Workbooks().Open(path("all.xls"), true);
    const int lastRow = book.ActiveSheet().UsedRangeLastRow();
    const int lastColumn = book.ActiveSheet().UsedRangeLastColumn();
    const int rateTypes = static_cast<int>(summary.rateTypes.size());
    ASSERT_EQ(lastRow, 5 + static_cast<int>(summary.rows.size()));
    ASSERT_EQ(lastColumn, 7 + 2 * rateTypes);
    const int totalHoursColumn = 5 + rateTypes, totalPayColumn = 6 + 2 * rateTypes;
    EXPECT_EQ(app->Cells(lastRow, 1).text(), "Grand Total");
    EXPECT_TRUE(book.ActiveSheet()
                    .sheet()
                    .find(uint16_t(lastRow - 1), uint16_t(totalPayColumn - 1))
                    ->hasFormula());
    EXPECT_NEAR(*app->Cells(lastRow, totalHoursColumn).number() * 24 * 60,
                static_cast<double>(summary.totalMinutes()), 1e-6);
    EXPECT_NEAR(*app->Cells(lastRow, totalPayColumn).number(), summary.totalPay(), 1e-9);
    double rowsPay = 0;
    for (int row = 5; row < lastRow; ++row) {
        const SummaryRow& data = summary.rows[static_cast<size_t>(row - 5)];
        EXPECT_NEAR(*app->Cells(row, totalPayColumn).number(), data.totalPay(), 1e-9);
        EXPECT_NEAR(*app->Cells(row, totalHoursColumn).number() * 24 * 60,
                    static_cast<double>(data.totalMinutes()), 1e-6);
        rowsPay += *app->Cells(row, totalPayColumn).number();
    }
    EXPECT_NEAR(*app->Cells(lastRow, totalPayColumn).number(), rowsPay, 1e-9);
}

TEST_F(SummaryWorkbookTest, TellsATimesheetWorkbookFromASummary) {
    QLocale::setDefault(kEnglish);
    PrivateTempFolder folder;
    const GenerationResult result = runGeneration(trickyRecord(), folder, GenerationHooks{});
    ASSERT_TRUE(result.handedOver);
    EXPECT_FALSE(isSummaryWorkbook(result.resultPath));
    EXPECT_FALSE(isSummaryWorkbook(path("missing.xls")));
    try {
        readSummaryWorkbook(result.resultPath);
        ADD_FAILURE() << "a timesheet was read as a summary";
    } catch (const std::exception& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("is not a payroll summary"));
    }
    QLocale::setDefault(QLocale::system());
}

TEST_F(SummaryWorkbookTest, WritesXlsxButReadsOnlyXls) {
    const PayrollSummary summary = summarize(mixedRows());
    const QStringList warnings = writeSummaryWorkbook(summary, path("all.xlsx"), dir.path());
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join("\n").toStdString();
    EXPECT_TRUE(QFileInfo(path("all.xlsx")).size() > 0);
    EXPECT_THROW(readSummaryWorkbook(path("all.xlsx")), std::exception);
}

TEST_F(SummaryWorkbookTest, RefusesMoreRateTypesThanTheSheetHasColumnsFor) {
    SummaryRow row;
    for (int i = 0; i < 125; ++i) row.rates[QStringLiteral("Rate %1").arg(i)] = {60, 1};
    EXPECT_THROW(writeSummaryWorkbook(summarize({row}), path("wide.xls"), dir.path()),
                 std::exception);
    EXPECT_FALSE(QFileInfo::exists(path("wide.xls")));
    row.rates.erase(QStringLiteral("Rate 0"));
    writeSummaryWorkbook(summarize({row}), path("wide.xls"), dir.path());
    EXPECT_EQ(readSummaryWorkbook(path("wide.xls")).at(0), row);
}

}  // namespace
}  // namespace tallowby
