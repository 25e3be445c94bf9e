// tallowby-fill --import-hours end to end: hand-written exports of several
// trackers go into the week, and each sheet's figures are checked against
// what Python's csv module makes of the same file.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "tests/fill/fill_process.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using tallowby::testing::FillOutcome;
using tallowby::testing::runFill;
using tallowby::testing::runProgram;
using tallowby::testing::writeFile;

const double kRates[] = {10.0, 15.0, 12.0};  // Regular, Overtime, Vacation

QString dataFile(const QString& name) {
    return QStringLiteral("%1/import/%2")
        .arg(QLatin1String(tallowby::test_paths::kTestDataDir), name);
}

class FillImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        settings = dir.filePath("timesheet.ini");
        ASSERT_TRUE(writeFile(settings,
                              "[Tallowby]\ndtpDate=2027-01-04\n"
                              "Rates=Regular^10|Overtime^15|Vacation^12\nHours=\n"));
        xls = dir.filePath("week.xls");
    }

    // Minutes per "day,rate" and rows imported, as the independent reading sees them.
    QJsonObject expected(const QString& csv, const QStringList& arguments) {
        const FillOutcome o = runProgram(
            "/usr/bin/python3",
            QStringList{QStringLiteral("%1/tests/fill/import_expected.py")
                            .arg(QLatin1String(tallowby::test_paths::kSourceDir)),
                        csv, "--week-start", "2027-01-04", "--rates", "Regular,Overtime,Vacation"} +
                arguments);
        EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
        return QJsonDocument::fromJson(o.out.toUtf8()).object();
    }

    // Every day and rate cell of the sheet against the expected minutes, and
    // the day totals and the pay they add up to.
    void checkSheet(const QJsonObject& expectedWeek) {
        const auto book = tallowby::engine::readWorkbookFile(xls.toStdString());
        const auto& sheet = book.sheets.at(0);
        const QJsonObject cells = expectedWeek.value("cells").toObject();
        ASSERT_FALSE(cells.isEmpty());
        double pay = 0;
        int weekMinutes = 0;
        for (int day = 0; day < 7; ++day) {
            int dayMinutes = 0;
            for (int rate = 0; rate < 3; ++rate) {
                const int want = cells.value(QStringLiteral("%1,%2").arg(day).arg(rate)).toInt();
                const auto* cell =
                    sheet.find(static_cast<uint16_t>(11 + day), static_cast<uint16_t>(1 + rate));
                const double got = cell ? cell->value.number : 0.0;
                EXPECT_EQ(std::lround(got * 1440), want) << "day " << day << " rate " << rate;
                dayMinutes += want;
                pay += want / 60.0 * kRates[rate];
            }
            const auto* total = sheet.find(static_cast<uint16_t>(11 + day), 8);
            ASSERT_NE(total, nullptr);
            EXPECT_EQ(std::lround(total->value.number * 1440), dayMinutes) << "day " << day;
            weekMinutes += dayMinutes;
        }
        EXPECT_EQ(std::lround(sheet.find(18, 8)->value.number * 1440), weekMinutes);
        EXPECT_NEAR(sheet.find(20, 8)->value.number, pay, 1e-6);
    }

    QTemporaryDir dir;
    QString settings;
    QString xls;
};

struct Export {
    QString file;
    QString locale;
    int leftOut = 0;
    QStringList pythonArguments;
};

// The exports listed in the data folder's exports.tsv (see its head).
std::vector<Export> listedExports() {
    QFile list(dataFile("exports.tsv"));
    EXPECT_TRUE(list.open(QIODevice::ReadOnly | QIODevice::Text));
    std::vector<Export> exports;
    for (const QString& line : QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        EXPECT_GE(fields.size(), 3) << line.toStdString();
        if (fields.size() < 3) continue;
        exports.push_back({fields[0], fields[1], fields[2].toInt(), fields.mid(3)});
    }
    return exports;
}

TEST_F(FillImportTest, EachTrackersExportFillsTheWeekAsItsRowsSay) {
    const std::vector<Export> exports = listedExports();
    ASSERT_EQ(exports.size(), 6u);
    for (const Export& e : exports) {
        SCOPED_TRACE(e.file.toStdString());
        const QString csv = dataFile(e.file);
        const FillOutcome o =
            runFill({"--settings", settings, "--xls", xls, "--import-hours", csv}, e.locale);
        ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
        if (e.leftOut > 0) {
            EXPECT_TRUE(o.err.contains(QStringLiteral(": %1 of ").arg(e.leftOut)))
                << o.err.toStdString();
        }
        EXPECT_EQ(o.err.count("were not imported"), e.leftOut > 0 ? 1 : 0);
        checkSheet(expected(csv, e.pythonArguments));
    }
}

TEST_F(FillImportTest, ImportedHoursJoinTheStoredOnesAndTheStoreStaysAsItWas) {
    const QByteArray stored =
        "[Tallowby]\ndtpDate=2027-01-04\n"
        "Rates=Regular^10|Overtime^15|Vacation^12\n"
        "Hours=Mon^Regular^01:00^0^0\n";
    ASSERT_TRUE(writeFile(settings, stored));
    const QString csv = dir.filePath("more.csv");
    ASSERT_TRUE(writeFile(csv, "Date,Hours,Type\n2027-01-04,2,Regular\n2027-01-04,0.5,Regular\n"));
    const FillOutcome o = runFill({"--settings", settings, "--xls", xls, "--import-hours", csv});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    const auto book = tallowby::engine::readWorkbookFile(xls.toStdString());
    EXPECT_EQ(std::lround(book.sheets.at(0).find(11, 1)->value.number * 1440), 210);
    EXPECT_EQ(tallowby::testing::readFile(settings), stored);
}

TEST_F(FillImportTest, ColumnOptionsAndAFallbackRateImportWhatHeadersAloneWouldNot) {
    const QString csv = dir.filePath("own.csv");
    ASSERT_TRUE(writeFile(csv,
                          "When,Spent,Kind,Activity\n2027-01-05,1:15,Travel,Regular\n"
                          "2027-01-06,2:00,Overtime,Regular\n"));
    const QStringList base{"--settings",     settings, "--xls",         xls,
                           "--import-hours", csv,      "--date-column", "when",
                           "--hours-column", "SPENT",  "--type-column", "Kind"};
    const FillOutcome without = runFill(base);
    ASSERT_EQ(without.exitCode, 0) << without.err.toStdString();
    EXPECT_TRUE(
        without.err.contains("1 of a type no hour rate is named after: \"Travel\" (line 2)"))
        << without.err.toStdString();
    const FillOutcome with = runFill(base + QStringList{"--unknown-type", "vacation"});
    ASSERT_EQ(with.exitCode, 0) << with.err.toStdString();
    EXPECT_FALSE(with.err.contains("not imported")) << with.err.toStdString();
    const auto book = tallowby::engine::readWorkbookFile(xls.toStdString());
    EXPECT_EQ(std::lround(book.sheets.at(0).find(12, 3)->value.number * 1440), 75);
    EXPECT_EQ(std::lround(book.sheets.at(0).find(13, 2)->value.number * 1440), 120);
    // By number too; a rate that does not exist is refused before anything is written.
    EXPECT_EQ(runFill(base + QStringList{"--unknown-type", "3"}).exitCode, 0);
    const FillOutcome wrong = runFill(base + QStringList{"--unknown-type", "Travel"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(
        wrong.err.contains("--unknown-type \"Travel\" names no hour rate (the rates are "
                           "\"Regular\", \"Overtime\", \"Vacation\")"))
        << wrong.err.toStdString();
    // The start/end options name their columns as well.
    const QString times = dir.filePath("times.csv");
    ASSERT_TRUE(writeFile(times, "Date,Began,Ended,Type\n2027-01-04,08:00,09:30,Regular\n"));
    const FillOutcome timed = runFill({"--settings", settings, "--xls", xls, "--import-hours",
                                       times, "--start-column", "Began", "--end-column", "Ended"});
    ASSERT_EQ(timed.exitCode, 0) << timed.err.toStdString();
    EXPECT_EQ(std::lround(tallowby::engine::readWorkbookFile(xls.toStdString())
                              .sheets.at(0)
                              .find(11, 1)
                              ->value.number *
                          1440),
              90);
}

TEST_F(FillImportTest, FilesThatGiveNothingExitWithTwoAndSayWhy) {
    struct Bad {
        QByteArray bytes;
        const char* said;
    };
    QByteArray binary;
    for (int i = 0; i < 2048; ++i) binary += static_cast<char>(i * 7 % 251);
    const Bad bad[] = {
        {"", "cannot import %1: the file is empty"},
        {"Date,Duration,Activity\n", "it holds a header row and no hours below it"},
        {binary, "it holds binary data"},
        {"Name,Amount\nAna,3\n",
         "no date column (looked for \"Date\", \"Start date\", \"Day\"); no hours column (looked "
         "for \"Duration\", \"Duration (h)\", \"Duration (decimal)\", \"Hours\", or start and end "
         "times: \"From\", \"Start time\", \"To\", \"End time\"); no type column (looked for "
         "\"Activity\", \"Task\", \"Tags\", \"Project\", \"Type\")"},
        {"Date,Hours,Type\n2027-01-04,1,Regular\n2027-01-05,\"2,Regular\n2027-01-06,1,Regular\n",
         "line 3: the quote that opens there is never closed"},
        {"Date,Hours,Type\n2027-02-01,1,Regular\n", "nothing to import from %1"},
    };
    const QString csv = dir.filePath("bad.csv");
    for (const Bad& b : bad) {
        ASSERT_TRUE(writeFile(csv, b.bytes));
        const FillOutcome o =
            runFill({"--settings", settings, "--xls", xls, "--import-hours", csv});
        const QString said = QString::fromUtf8(b.said).replace("%1", csv);
        EXPECT_EQ(o.exitCode, 2) << said.toStdString();
        EXPECT_TRUE(o.err.contains(said)) << o.err.toStdString();
        EXPECT_FALSE(QFile::exists(xls));
    }
    EXPECT_EQ(runFill({"--settings", settings, "--xls", xls, "--import-hours",
                       dir.filePath("missing.csv")})
                  .exitCode,
              2);
    // The workbook may not replace the file it imports.
    ASSERT_TRUE(writeFile(csv, "Date,Hours,Type\n2027-01-04,1,Regular\n"));
    const FillOutcome same = runFill({"--settings", settings, "--xls", csv, "--import-hours", csv});
    EXPECT_EQ(same.exitCode, 2);
    EXPECT_TRUE(same.err.contains("it is the file to import")) << same.err.toStdString();
    // Column options without a file to import are a mistake in the arguments.
    EXPECT_EQ(runFill({"--settings", settings, "--xls", xls, "--type-column", "Kind"}).exitCode, 2);
}

}  // namespace
