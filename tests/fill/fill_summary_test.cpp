// tallowby-fill's payroll summary as a user runs it: from timesheet files,
// per shard and merged, checked against figures worked out here from the
// timesheets' own text.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "tests/fill/fill_process.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using tallowby::testing::FillOutcome;
using tallowby::testing::runFill;
using tallowby::testing::writeFile;
namespace engine = tallowby::engine;

struct Timesheet {
    QString file;
    QString employee;
    QString week;                                        // yyyy-mm-dd
    std::vector<std::pair<QString, QString>> rates;      // description, rate
    std::vector<std::tuple<QString, int, int>> entries;  // hours, day, rate index
};

QByteArray iniOf(const Timesheet& t) {
    QStringList rates, hours;
    for (const auto& [description, rate] : t.rates) rates << description + "^" + rate;
    for (const auto& [h, day, rate] : t.entries)
        hours << QStringLiteral("d^t^%1^%2^%3").arg(h).arg(day).arg(rate);
    return QStringLiteral(
               "[Tallowby]\ntxtName=ACME Inc\ntxtEmp=%1\ntxtSVisor=Rolf Ambry\n"
               "dtpDate=%2\nRates=%3\nHours=%4\n")
        .arg(t.employee, t.week, rates.join('|'), hours.join('|'))
        .toUtf8();
}

const char* const kTemplateHeadings[] = {"Regular", "Overtime", "Illness", "Vacation",
                                         "Holiday", "Unpaid",   "Other"};

// Hours (in minutes) and pay per rate description as the sheet shows them,
// worked out from the timesheet's text: entries outside days 0-6 or the
// sheet's rate columns, or with minutes over 59, have no place.
std::map<QString, std::pair<long long, double>> expectedFigures(const Timesheet& t) {
    const size_t columns = std::max<size_t>(t.rates.size(), 7);
    std::vector<long long> minutes(columns, 0);
    for (const auto& [h, day, rate] : t.entries) {
        const QStringList parts = h.split(':');
        if (day < 0 || day > 6 || rate < 0 || static_cast<size_t>(rate) >= columns ||
            parts.size() != 2 || parts[1].toInt() > 59)
            continue;
        minutes[static_cast<size_t>(rate)] += parts[0].toInt() * 60 + parts[1].toInt();
    }
    std::map<QString, std::pair<long long, double>> figures;
    for (size_t i = 0; i < columns; ++i) {
        const bool typed = i < t.rates.size();
        if (!typed && minutes[i] == 0) continue;
        bool isNumber = false;
        const double rate = typed ? t.rates[i].second.toDouble(&isNumber) : 0;
        auto& f = figures[typed ? t.rates[i].first : QString::fromLatin1(kTemplateHeadings[i])];
        f.first += minutes[i];
        f.second += isNumber ? static_cast<double>(minutes[i]) / 60.0 * rate : 0;
    }
    return figures;
}

// Fifty timesheets of ten people over five weeks: varied rate types that
// share descriptions, repeated entries, entries with no place, rates that
// are no number, a week without hours.
std::vector<Timesheet> generatedTimesheets() {
    std::mt19937 random(22);
    const QStringList descriptions{"Regular", "Overtime", "Night", "Weekend", "Travel", "Training"};
    std::vector<Timesheet> all;
    for (int i = 0; i < 50; ++i) {
        Timesheet t;
        t.file = QStringLiteral("sheet-%1.ini").arg(i, 2, 10, QLatin1Char('0'));
        t.employee = QStringLiteral("Employee %1").arg(QChar('A' + (i * 7) % 10));
        t.week = QDate(2026, 11, 2).addDays(7 * (i % 5)).toString(Qt::ISODate);
        const int rateCount = 1 + static_cast<int>(random() % 6);
        for (int r = 0; r < rateCount; ++r)
            t.rates.push_back({descriptions[(r + i) % descriptions.size()],
                               r == 2 && i % 4 == 0 ? QStringLiteral("n/a")
                                                    : QString::number(10 + (i + r) % 9) + ".25"});
        if (i == 7) {
            all.push_back(t);  // no hours at all
            continue;
        }
        const int entries = 3 + static_cast<int>(random() % 12);
        for (int e = 0; e < entries; ++e) {
            const int day = static_cast<int>(random() % 9) - 1;  // -1 and 7 have no row
            const int rate = static_cast<int>(random() % 9);     // some beyond the columns
            const int minutes = static_cast<int>(random() % 600);
            t.entries.push_back({QStringLiteral("%1:%2")
                                     .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                     .arg(minutes % 60, 2, 10, QLatin1Char('0')),
                                 day, rate});
        }
        t.entries.push_back(t.entries.front());  // repeated
        t.entries.push_back({"05:75", 1, 0});    // no duration
        all.push_back(t);
    }
    return all;
}

const engine::Cell* cellAt(const engine::Sheet& s, int row, int col) {
    return s.find(static_cast<uint16_t>(row - 1), static_cast<uint16_t>(col - 1));
}
double numberAt(const engine::Sheet& s, int row, int col) {
    const engine::Cell* c = cellAt(s, row, col);
    return c && c->value.type == engine::CellValue::Type::Number ? c->value.number : NAN;
}
QString textAt(const engine::Sheet& s, int row, int col) {
    const engine::Cell* c = cellAt(s, row, col);
    return c ? QString::fromStdString(c->value.text) : QString();
}

class FillSummaryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        timesheets = generatedTimesheets();
        ASSERT_TRUE(QDir(dir.path()).mkpath("all"));
        for (const Timesheet& t : timesheets)
            ASSERT_TRUE(writeFile(dir.filePath("all/" + t.file), iniOf(t)));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    static engine::Workbook read(const QString& file) {
        return engine::readWorkbookFile(file.toStdString());
    }

    QTemporaryDir dir;
    std::vector<Timesheet> timesheets;
};

TEST_F(FillSummaryTest, TotalsEqualFiguresWorkedOutFromTheTimesheetFiles) {
    const FillOutcome o = runFill({"--summary-only", "--summary", path("all.xls"), path("all")});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    const engine::Workbook book = read(path("all.xls"));
    const engine::Sheet& s = book.sheets.at(0);
    const int lastRow = static_cast<int>(s.usedRange()->lastRow) + 1;
    const int lastCol = static_cast<int>(s.usedRange()->lastCol) + 1;
    const int rateTypes = (lastCol - 7) / 2;
    ASSERT_EQ(lastRow, 5 + 50);
    std::map<QString, const Timesheet*> byFile;
    for (const Timesheet& t : timesheets) byFile[t.file] = &t;

    long long allMinutes = 0;
    double allPay = 0;
    QString previous;
    for (int row = 5; row < lastRow; ++row) {
        const Timesheet& t = *byFile.at(textAt(s, row, lastCol));
        SCOPED_TRACE(t.file.toStdString());
        EXPECT_EQ(textAt(s, row, 1), t.employee);
        // Sorted by employee, then week.
        const QString key = t.employee + t.week;
        EXPECT_LE(previous, key);
        previous = key;
        const auto expected = expectedFigures(t);
        long long minutes = 0;
        double pay = 0;
        int present = 0;
        for (int i = 0; i < rateTypes; ++i) {
            const QString description = textAt(s, 4, 5 + i);
            const double hours = numberAt(s, row, 5 + i);
            if (std::isnan(hours)) {
                EXPECT_EQ(expected.count(description), 0u) << description.toStdString();
                continue;
            }
            ++present;
            ASSERT_EQ(expected.count(description), 1u) << description.toStdString();
            EXPECT_EQ(std::llround(hours * 1440), expected.at(description).first);
            EXPECT_NEAR(numberAt(s, row, 6 + rateTypes + i), expected.at(description).second, 1e-9);
            minutes += expected.at(description).first;
            pay += expected.at(description).second;
        }
        EXPECT_EQ(static_cast<size_t>(present), expected.size());
        EXPECT_EQ(std::llround(numberAt(s, row, 5 + rateTypes) * 1440), minutes);
        EXPECT_NEAR(numberAt(s, row, 6 + 2 * rateTypes), pay, 1e-9);
        allMinutes += minutes;
        allPay += pay;
    }
    EXPECT_EQ(textAt(s, lastRow, 1), "Grand Total");
    EXPECT_EQ(std::llround(numberAt(s, lastRow, 5 + rateTypes) * 1440), allMinutes);
    EXPECT_NEAR(numberAt(s, lastRow, 6 + 2 * rateTypes), allPay, 1e-6);
    EXPECT_TRUE(cellAt(s, lastRow, 6 + 2 * rateTypes)->hasFormula());
}

// Three shards made apart and merged over their folders give the summary of
// all, cell for cell; the shards' timesheet workbooks beside them are passed over.
TEST_F(FillSummaryTest, MergedShardSummariesEqualTheSummaryOfAll) {
    ASSERT_EQ(runFill({"--summary-only", "--summary", path("all.xls"), path("all")}).exitCode, 0);
    for (int k = 0; k < 3; ++k) {
        const QString shard = path(QStringLiteral("shard-%1").arg(k));
        ASSERT_TRUE(QDir().mkpath(shard));
        QStringList files;
        for (size_t i = static_cast<size_t>(k); i < timesheets.size(); i += 3)
            files << path("all/" + timesheets[i].file);
        const FillOutcome o =
            runFill(QStringList{"--summary-only", "--summary", shard + "/summary.xls"} + files);
        ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
        // A timesheet workbook beside the summary (a rate that is no number makes its exit 1).
        runFill({"--xls", shard + "/timesheet.xls", "--settings", files.first()});
        ASSERT_TRUE(QFileInfo::exists(shard + "/timesheet.xls"));
    }
    const FillOutcome o = runFill(
        {"--summary", path("merged.xls"), path("shard-2"), path("shard-0"), path("shard-1")});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    const engine::Sheet all = read(path("all.xls")).sheets.at(0);
    const engine::Sheet merged = read(path("merged.xls")).sheets.at(0);
    EXPECT_EQ(merged.cells(), all.cells());
}

TEST_F(FillSummaryTest, BadInputsAreNamedAndTheOthersSummarized) {
    ASSERT_TRUE(
        writeFile(path("all/zz-too-wide.ini"),
                  "[Tallowby]\ntxtEmp=Wide\nRates=" + QByteArray("R^1|").repeated(255) + "\n"));
    FillOutcome o = runFill({"--summary-only", "--summary", path("some.xls"), path("all"),
                             path("missing.ini"), path("all.xls")});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(o.err.contains("zz-too-wide.ini")) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains(path("missing.ini") + " does not exist")) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains("all.xls is a workbook, not a timesheet file"));
    EXPECT_EQ(read(path("some.xls")).sheets.at(0).usedRange()->lastRow, 4u + 50u);

    // Merging takes summaries only: a timesheet file or workbook is named, not merged.
    runFill({"--xls", path("timesheet.xls"), "--settings", path("all/" + timesheets[0].file)});
    ASSERT_TRUE(QFileInfo::exists(path("timesheet.xls")));
    o = runFill({"--summary", path("merged.xls"), path("some.xls"), path("timesheet.xls"),
                 path("all/" + timesheets[0].file)});
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_TRUE(o.err.contains("is not a payroll summary")) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains("use --summary-only")) << o.err.toStdString();
    EXPECT_EQ(read(path("merged.xls")).sheets.at(0).cells(),
              read(path("some.xls")).sheets.at(0).cells());

    // Nothing to merge, or the output among the inputs: nothing is written.
    o = runFill({"--summary", path("none.xls"), path("all")});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(path("none.xls")));
    o = runFill({"--summary", path("some.xls"), path("some.xls")});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(o.err.contains("it is one of the files to summarize")) << o.err.toStdString();
}

TEST_F(FillSummaryTest, AFileNamedTwiceMakesOneRow) {
    const QString first = path("all/" + timesheets[0].file);
    ASSERT_EQ(runFill({"--summary-only", "--summary", path("s.xls"), path("all"), first,
                       dir.path() + "/all/../all/" + timesheets[0].file})
                  .exitCode,
              0);
    EXPECT_EQ(read(path("s.xls")).sheets.at(0).usedRange()->lastRow, 4u + 50u);
    ASSERT_EQ(runFill({"--summary", path("m.xls"), path("s.xls"), dir.path()}).exitCode, 0);
    EXPECT_EQ(read(path("m.xls")).sheets.at(0).cells(), read(path("s.xls")).sheets.at(0).cells());
}

TEST_F(FillSummaryTest, ArgumentsThatDoNotGoTogetherAreRefused) {
    EXPECT_EQ(runFill({"--summary-only", path("all")}).exitCode, 2);
    EXPECT_EQ(runFill({"--summary", path("s.xls")}).exitCode, 2);
    EXPECT_EQ(runFill({"--summary", path("s.xls"), "--xls", path("t.xls"), path("all")}).exitCode,
              2);
    EXPECT_EQ(runFill({"--xls", path("t.xls"), path("all")}).exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(path("s.xls")));
    const FillOutcome o = runFill({"--summary-only", "--summary", path("s.xlsx"), path("all")});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_GT(QFileInfo(path("s.xlsx")).size(), 0);
}

}  // namespace
