#include "timesheet/generation_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include "tests/support/full_disk.h"
#include "tests/support/timesheet_records.h"
#include "tests/timesheet/run_failures.h"
#include "timesheet/entry_placement.h"
#include "timesheet/template_layout.h"
#include "workbook/automation/application.h"
#include "workbook/automation/engine_calls.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/run/template_resource.h"

namespace tallowby {
namespace {

using engine::CellValue;

TimesheetRecord sampleRecord() {
    TimesheetRecord r;
    r.company = QStringLiteral("ACME Inc");
    r.address = QStringLiteral("Birchwood st");
    r.city = QStringLiteral("French Leek, IN");
    r.phone = QStringLiteral("(988) 913-5480");
    r.employee = QStringLiteral("Arlen Tovey Jr.");
    r.supervisor = QStringLiteral("Rolf Ambry");
    r.weekStart = QDate(2021, 8, 30);
    r.rates = {{"Regular", "11.50"}, {"Overtime", "12.70"}};
    r.hours = {{"Monday", "Regular", "02:00", "0", "0"},
               {"Tuesday", "Overtime", "01:30", "1", "1"}};
    return r;
}

class GenerationRunTest : public ::testing::Test {
  protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override {
        automation::setApplicationFactory({});
        QLocale::setDefault(QLocale::system());
    }

    GenerationResult run(const TimesheetRecord& record) {
        GenerationHooks hooks;
        hooks.setBusy = [this](bool busy) { busyLog.push_back(busy); };
        hooks.handOver = [this](const QImage& picture, const QString& path) {
            handedPicture = picture;
            handedPath = path;
        };
        hooks.hideMainWindow = [this] { hidden = true; };
        return runGeneration(record, folder, hooks);
    }

    const engine::Sheet& savedSheet(const QString& path) {
        saved = automation::readWorkbookFile(path);
        return saved.sheets.at(0);
    }
    static CellValue valueAt(const engine::Sheet& s, int row, int col) {
        const engine::Cell* c =
            s.find(static_cast<uint16_t>(row - 1), static_cast<uint16_t>(col - 1));
        return c ? c->value : CellValue{};
    }
    static CellValue valueAt(const engine::Sheet& s, template_layout::CellPosition at) {
        return valueAt(s, at.row, at.column);
    }

    PrivateTempFolder folder;
    std::vector<bool> busyLog;
    QImage handedPicture;
    QString handedPath;
    bool hidden = false;
    engine::Workbook saved;
};

TEST_F(GenerationRunTest, FillsTheCellMapSavesDrawsAndHandsOver) {
    const GenerationResult result = run(sampleRecord());
    EXPECT_TRUE(result.failures.empty())
        << testing::textsOf(result.failures).join("\n").toStdString();
    ASSERT_TRUE(result.handedOver);
    EXPECT_TRUE(hidden);
    EXPECT_EQ(handedPath, result.resultPath);
    EXPECT_FALSE(handedPicture.isNull());
    EXPECT_GT(handedPicture.width(), 300);
    EXPECT_EQ(busyLog, (std::vector<bool>{true, true, false}));

    // Only the result workbook is left in the private folder.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList{QFileInfo(result.resultPath).fileName()});
    EXPECT_TRUE(QFileInfo(result.resultPath)
                    .fileName()
                    .contains(QRegularExpression("^kovlar[1-9]{8}\\.xls$")));

    const engine::Sheet& s = savedSheet(result.resultPath);
    using namespace template_layout;
    EXPECT_EQ(valueAt(s, kCompany).text, "ACME Inc");
    EXPECT_EQ(valueAt(s, kAddress).text, "Birchwood st");
    EXPECT_EQ(valueAt(s, kCity).text, "French Leek, IN");
    EXPECT_EQ(valueAt(s, kPhone).text, "(988) 913-5480");
    EXPECT_EQ(valueAt(s, kEmployee).text, "Arlen Tovey Jr.");
    EXPECT_EQ(valueAt(s, kSupervisor).text, "Rolf Ambry");
    EXPECT_EQ(valueAt(s, kWeekStart).number, 44438);
    EXPECT_EQ(valueAt(s, 11, 2).text, "Regular");
    EXPECT_EQ(valueAt(s, 11, 3).text, "Overtime");
    EXPECT_EQ(valueAt(s, 11, 4).text, "Illness");  // the template's own heading stays
    EXPECT_DOUBLE_EQ(valueAt(s, 20, 2).number, 11.5);
    EXPECT_DOUBLE_EQ(valueAt(s, 20, 3).number, 12.7);
    EXPECT_NEAR(valueAt(s, 12, 2).number, 2.0 / 24, 1e-12);
    EXPECT_NEAR(valueAt(s, 13, 3).number, 1.5 / 24, 1e-12);
    // Totals and pay come from the template's formulas, computed before saving.
    EXPECT_NEAR(valueAt(s, kGrandTotalHours).number, 3.5 / 24, 1e-12);
    EXPECT_NEAR(valueAt(s, kGrandTotalPay).number, 2 * 11.5 + 1.5 * 12.7, 1e-9);
}

TEST_F(GenerationRunTest, RepeatedEntriesAreSummedAndEntriesWithoutAPlaceAreLeftOut) {
    TimesheetRecord r = sampleRecord();
    r.hours = {
        {"Monday", "Regular", "08:00", "0", "0"},
        {"Monday", "Regular", "09:00", "0", "0"},  // same day and rate: 17:00 in B12
        {"Wed", "Overtime", "10:30", "2", "1"},
        {"Wed", "Overtime", "15:45", "2", "1"},  // 26:15 in C14
        {"", "Regular", "03:00", "-1", "0"},     // no day chosen
        {"Tue", "", "05:00", "1", "-1"},         // no type chosen
        {"Sun", "Other", "01:00", "7", "0"},     // a day past the week
        {"Mon", "Z", "02:00", "0", "7"},         // no eighth rate column
        {"x", "y", "06:00", "x", ""},            // indexes that are no numbers
    };
    const GenerationResult result = run(r);
    ASSERT_TRUE(result.handedOver);
    EXPECT_TRUE(result.failures.empty())
        << testing::textsOf(result.failures).join("\n").toStdString();
    ASSERT_EQ(result.leftOut.size(), 5u);
    EXPECT_EQ(result.leftOut[0].hours, "03:00");
    EXPECT_EQ(result.leftOut[4].hours, "06:00");
    const engine::Sheet& s = savedSheet(result.resultPath);
    EXPECT_NEAR(valueAt(s, 12, 2).number, 17.0 / 24, 1e-12);
    EXPECT_NEAR(valueAt(s, 14, 3).number, 26.25 / 24, 1e-12);
    // Nothing was written over the headings, the day formulas or the totals.
    EXPECT_EQ(valueAt(s, 11, 2).text, "Regular");
    EXPECT_TRUE(s.find(12, 0)->hasFormula());
    EXPECT_TRUE(s.find(11, 8)->hasFormula());
    EXPECT_EQ(valueAt(s, 11, 9).text, "TOTAL\nHOURS");
    EXPECT_NEAR(valueAt(s, 19, 9).number, (17 + 26.25) / 24, 1e-12);
    EXPECT_NEAR(valueAt(s, 21, 9).number, 17 * 11.5 + 26.25 * 12.7, 1e-9);
}

TEST_F(GenerationRunTest, AFailingEngineIsReportedOnceAndEndsTheRun) {
    automation::setApplicationFactory([]() -> std::unique_ptr<automation::Application> {
        throw std::runtime_error("no engine here");
    });
    const GenerationResult result = run(sampleRecord());
    EXPECT_FALSE(result.handedOver);
    EXPECT_FALSE(hidden);
    EXPECT_TRUE(handedPath.isEmpty());
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(testing::linesOf(result.failures), QList<int>{102});
    EXPECT_TRUE(
        error_report::text(result.failures[0])
            .startsWith(
                "no engine here\r\nin Tallowby2021/08/31.Form1.PushButton6_Click at line 102\r\r"));
    EXPECT_EQ(busyLog.back(), false);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(GenerationRunTest, ABrokenTemplateIsReportedAtTheOpenAndLeavesNothingBehind) {
    GenerationHooks hooks;
    hooks.templateBytes = [] { return QByteArray("not a workbook at all"); };
    hooks.handOver = [this](const QImage&, const QString&) { hidden = true; };
    const GenerationResult result = runGeneration(sampleRecord(), folder, hooks);
    EXPECT_FALSE(result.handedOver);
    EXPECT_FALSE(hidden);
    EXPECT_EQ(testing::linesOf(result.failures), QList<int>{108});
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(GenerationRunTest, EachFailureIsHandedToTheCallerTheMomentItHappens) {
    automation::setApplicationFactory([]() -> std::unique_ptr<automation::Application> {
        throw std::runtime_error("no engine here");
    });
    bool busy = false;
    std::vector<StatementFailure> told;
    std::vector<bool> busyWhenTold;
    GenerationHooks hooks;
    hooks.setBusy = [&](bool on) { busy = on; };
    hooks.reportFailure = [&](const StatementFailure& failure) {
        told.push_back(failure);
        busyWhenTold.push_back(busy);
    };
    const GenerationResult result = runGeneration(sampleRecord(), folder, hooks);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].module, "Form1");
    EXPECT_EQ(told[0].procedure, "PushButton6_Click");
    EXPECT_EQ(told[0].line, 102);
    EXPECT_EQ(told[0].description, "no engine here");
    // Told while the hourglass still shows, before the run ends early.
    EXPECT_TRUE(busyWhenTold[0]);
    EXPECT_FALSE(busy);
    EXPECT_EQ(testing::textsOf(result.failures), testing::textsOf(told));
}

TEST_F(GenerationRunTest, AFailingColumnInsertIsReportedWithItsNumberAndTheRunGoesOn) {
    // A template with a cell in the last column: no column can be inserted.
    engine::Workbook crowded = engine::readWorkbook(
        std::span(reinterpret_cast<const uint8_t*>(templateBytes().constData()),
                  static_cast<size_t>(templateBytes().size())));
    crowded.sheets[0].at(40, 255).value = engine::CellValue::fromText("last column");
    const std::vector<uint8_t> bytes = engine::writeWorkbook(crowded);
    GenerationHooks hooks;
    hooks.templateBytes = [&] {
        return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    };
    TimesheetRecord r = sampleRecord();
    while (r.rates.size() < 8) r.rates.push_back({"More", "1"});
    bool shown = false;
    hooks.handOver = [&](const QImage&, const QString&) { shown = true; };
    const GenerationResult result = runGeneration(r, folder, hooks);
    EXPECT_EQ(testing::linesOf(result.failures), QList<int>{131});
    EXPECT_TRUE(error_report::text(result.failures[0]).contains("pushed off the sheet"));
    // A workbook that misses a step is neither saved nor shown.
    EXPECT_FALSE(result.handedOver);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(result.resultPath.isEmpty());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(GenerationRunTest, APictureThatCannotBeWrittenToAFullTempFolderIsNeverShown) {
    tallowby::testing::FullDisk disk(QStringLiteral("512k"));
    if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
    const QByteArray oldTemp = qgetenv("TEMP");
    qputenv("TEMP", disk.path().toUtf8());
    {
        PrivateTempFolder full;
        // Room for the template and the workbook, not for the picture.
        ASSERT_LT(disk.fillLeaving(150 * 1024), 200 * 1024);
        GenerationHooks hooks;
        bool shown = false;
        hooks.handOver = [&](const QImage&, const QString&) { shown = true; };
        hooks.hideMainWindow = [&] { hidden = true; };
        const GenerationResult result = runGeneration(sampleRecord(), full, hooks);
        EXPECT_FALSE(result.handedOver);
        EXPECT_FALSE(shown);
        EXPECT_FALSE(hidden);
        EXPECT_TRUE(result.picture.isNull());
        ASSERT_FALSE(result.failures.empty());
        EXPECT_TRUE(testing::textsOf(result.failures).join("\n").contains("temp.bmp"))
            << testing::textsOf(result.failures).join("\n").toStdString();
        // Neither the half-written picture nor the workbook is left behind.
        EXPECT_TRUE(QDir(full.path()).entryList(QDir::Files).isEmpty())
            << QDir(full.path()).entryList(QDir::Files).join(", ").toStdString();
    }
    qputenv("TEMP", oldTemp);
}

// Each hours text that is not a duration, alone in its cell and sharing a
// cell with good hours: never written, always listed.
TEST_F(GenerationRunTest, HoursThatAreNotADurationAreLeftOutAloneOrSharingACell) {
    for (const QString bad : {"abc", "-1:00", "8:75", "25:61", "99999:00", "8", ""}) {
        TimesheetRecord r = sampleRecord();
        r.hours = {{"Mon", "Regular", "02:00", "0", "0"},
                   {"Mon", "Regular", bad, "0", "0"},          // shares B12
                   {"Wed", "Overtime", bad, "2", "1"},         // alone in C14
                   {"Thu", "Overtime", "9999:59", "3", "1"}};  // the longest duration
        const GenerationResult result = run(r);
        ASSERT_TRUE(result.handedOver) << bad.toStdString();
        EXPECT_TRUE(result.failures.empty()) << bad.toStdString();
        ASSERT_EQ(result.leftOut.size(), 2u) << bad.toStdString();
        EXPECT_EQ(result.leftOut[0].dayIndex, "0");
        EXPECT_EQ(result.leftOut[1].dayIndex, "2");
        EXPECT_EQ(
            leftOutMessage(result.leftOut).count(", Regular, " + (bad.isEmpty() ? "(none)" : bad)),
            1);
        const engine::Sheet& s = savedSheet(result.resultPath);
        EXPECT_NEAR(valueAt(s, 12, 2).number, 2.0 / 24, 1e-12) << bad.toStdString();
        EXPECT_EQ(valueAt(s, 14, 3).type, engine::CellValue::Type::Empty) << bad.toStdString();
        EXPECT_NEAR(valueAt(s, 15, 3).number, (9999 + 59.0 / 60) / 24, 1e-9);
        // The totals count what was written, nothing else.
        EXPECT_NEAR(valueAt(s, 21, 9).number, 2 * 11.5 + (9999 + 59.0 / 60) * 12.7, 1e-6);
    }
}

TEST_F(GenerationRunTest, RatesThatAreNotNumbersAreReportedOnceAndNotWritten) {
    TimesheetRecord r = sampleRecord();
    r.rates = {{"Regular", "abc"}, {"Overtime", "1e308"}, {"Illness", "12"},
               {"Vacation", ""},   {"Holiday", "TRUE"},   {"Unpaid", "1e400"}};
    r.hours = {{"Mon", "Regular", "02:00", "0", "0"}, {"Tue", "Overtime", "01:00", "1", "1"},
               {"Wed", "Illness", "03:00", "2", "2"}, {"Thu", "Vacation", "01:00", "3", "3"},
               {"Fri", "Holiday", "01:00", "4", "4"}, {"Sat", "Unpaid", "01:00", "5", "5"}};
    const GenerationResult result = run(r);
    // The run is complete: the bad rates are the timesheet's, not a broken step.
    ASSERT_TRUE(result.handedOver);
    ASSERT_EQ(testing::linesOf(result.failures), QList<int>{146});
    const QString text = error_report::text(result.failures[0]);
    EXPECT_TRUE(text.startsWith("4 hour rates were not written, so their pay shows 0.00:"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("\"abc\" of \"Regular\": not a number"));
    EXPECT_TRUE(text.contains("\"1e308\" of \"Overtime\": too large to compute pay with"));
    EXPECT_TRUE(text.contains("\"TRUE\" of \"Holiday\": not a number"));
    EXPECT_TRUE(text.contains("\"1e400\" of \"Unpaid\""));
    EXPECT_FALSE(text.contains("Illness"));
    EXPECT_FALSE(text.contains("Vacation"));
    const engine::Sheet& s = savedSheet(result.resultPath);
    for (const int column : {2, 3, 5, 6, 7}) {
        EXPECT_EQ(valueAt(s, 20, column).type, engine::CellValue::Type::Empty) << column;
        EXPECT_EQ(valueAt(s, 21, column).type, engine::CellValue::Type::Number) << column;
        EXPECT_EQ(valueAt(s, 21, column).number, 0) << column;
    }
    EXPECT_DOUBLE_EQ(valueAt(s, 20, 4).number, 12);
    EXPECT_NEAR(valueAt(s, 21, 9).number, 36, 1e-9);
    // The template's formulas stay as they are.
    EXPECT_TRUE(s.find(20, 1)->hasFormula());
    EXPECT_TRUE(s.find(20, 8)->hasFormula());
}

TEST_F(GenerationRunTest, GeneralFieldsAreWrittenAsTextExactlyAsTyped) {
    TimesheetRecord r = sampleRecord();
    testing::setGeneralFields(r, {"TRUE", "1/2", "=1+1", "0123456", "+15550100", "'quoted"});
    const GenerationResult result = run(r);
    ASSERT_TRUE(result.handedOver);
    const engine::Sheet& s = savedSheet(result.resultPath);
    const std::vector<std::pair<std::pair<int, int>, std::string>> expected{
        {{4, 1}, "TRUE"},    {{7, 1}, "1/2"},       {{8, 1}, "=1+1"},
        {{9, 1}, "0123456"}, {{5, 7}, "+15550100"}, {{7, 7}, "'quoted"}};
    for (const auto& [cell, text] : expected) {
        const CellValue v = valueAt(s, cell.first, cell.second);
        EXPECT_EQ(v.type, CellValue::Type::Text) << text;
        EXPECT_EQ(v.text, text);
        EXPECT_FALSE(
            s.find(static_cast<uint16_t>(cell.first - 1), static_cast<uint16_t>(cell.second - 1))
                ->hasFormula());
    }
    // Rates and hours keep being read as typed.
    EXPECT_DOUBLE_EQ(valueAt(s, 20, 2).number, 11.5);
    EXPECT_NEAR(valueAt(s, 12, 2).number, 2.0 / 24, 1e-12);
}

TEST(ResultName, IsDrawnAgainWhileTheNameIsTaken) {
    PrivateTempFolder folder;
    QFile taken(QDir(folder.path()).filePath("kovlar11111111.xls"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    int calls = 0;
    const QString name = drawResultName(folder.path(), [&] { return calls++ < 8 ? 1 : 2; });
    EXPECT_EQ(QFileInfo(name).fileName(), QStringLiteral("kovlar22222222.xls"));
    EXPECT_EQ(calls, 16);
}

}  // namespace
}  // namespace tallowby
