// Runs the built tallowby-fill --batch over generated timesheet files, as a
// payroll office's script would, and reads back what it wrote.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <map>

#include "tests/fill/fill_process.h"
#include "tests/support/generated_timesheets.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using tallowby::testing::FillOutcome;
using tallowby::testing::GeneratedTimesheet;
using tallowby::testing::runFill;
using tallowby::testing::writeFile;

// The name the batch must give timesheet `i` of the generated ones (the
// colliding ones by their place in the sorted list).
QString expectedStem(int i, const GeneratedTimesheet& t) {
    const QString week = t.weekStart.toString(Qt::ISODate);
    if (i == 10) return "Timesheet Dana Collide " + week;
    if (i == 11) return "Timesheet Dana Collide " + week + " (2)";
    if (i == 12) return "Timesheet dana collide " + week + " (3)";
    if (i == 13) return "Timesheet Lee_Ann_ _Night_ " + week;
    return QStringLiteral("Timesheet Employee %1 ").arg(i, 2, 10, QChar('0')) + week;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class BatchToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        input = dir.filePath("timesheets");
        sheets = tallowby::testing::writeTimesheets(input, 50);
    }
    QString out(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString input;
    std::vector<GeneratedTimesheet> sheets;
};

TEST_F(BatchToolTest, EveryTimesheetsTotalsAreThoseOfItsFileAndABadFileStopsNoOther) {
    // One file of the folder is damaged: it is named, made into nothing, and
    // the exit status says that not all were made.
    ASSERT_TRUE(writeFile(QDir(input).filePath("ts-025b.ini"), QByteArray("[Tallowby]\n\0\0", 13)));
    const FillOutcome o = runFill({"--batch", "--out", out("week"), "-j", "2", input});
    EXPECT_EQ(o.exitCode, 2) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains("tallowby-fill: " + input +
                               "/ts-025b.ini:\n  The "
                               "settings file " +
                               input + "/ts-025b.ini is damaged"))
        << o.err.toStdString();
    EXPECT_TRUE(
        o.err.endsWith("tallowby-fill: 1 of 51 timesheets failed (named above); the "
                       "others were made\n"))
        << o.err.toStdString();
    // Left-out entries are named under their file, and are no failure.
    EXPECT_TRUE(o.err.contains("tallowby-fill: " + input +
                               "/ts-005.ini:\n  2 hours "
                               "entries were left out"))
        << o.err.toStdString();

    QStringList expected;
    for (size_t i = 0; i < sheets.size(); ++i)
        expected << expectedStem(static_cast<int>(i), sheets[i]) + ".xls";
    expected.sort();
    EXPECT_EQ(filesIn(out("week")), expected);

    for (size_t i = 0; i < sheets.size(); ++i) {
        const GeneratedTimesheet& t = sheets[i];
        const QString path = out("week") + "/" + expectedStem(static_cast<int>(i), t) + ".xls";
        SCOPED_TRACE(path.toStdString());
        const auto book = tallowby::engine::readWorkbookFile(path.toStdString());
        const auto& sheet = book.sheets.at(0);
        EXPECT_EQ(sheet.find(4, 6)->value.text, t.employee.toStdString());  // G5
        const auto number = [&](int row, size_t column) {
            const auto* cell =
                sheet.find(static_cast<uint16_t>(row), static_cast<uint16_t>(column));
            return cell ? cell->value.number : -1.0;
        };
        // Row 19 the hours (as days, the sheet shows them as times), row 20
        // the rates, row 21 the pay, one column per rate type from B.
        for (size_t r = 0; r < t.rates.size(); ++r) {
            EXPECT_NEAR(number(18, 1 + r) * 24, t.hours[r], 1e-9) << "rate " << r;
            EXPECT_NEAR(number(19, 1 + r), t.rates[r], 1e-9) << "rate " << r;
            EXPECT_NEAR(number(20, 1 + r), t.hours[r] * t.rates[r], 1e-9) << "rate " << r;
        }
        const size_t totals = 1 + std::max<size_t>(t.rates.size(), 7);
        EXPECT_NEAR(number(18, totals) * 24, t.totalHours(), 1e-9);
        EXPECT_NEAR(number(20, totals), t.totalPay(), 1e-9);
    }
}

TEST_F(BatchToolTest, ThreeShardsMakeTheWholeBatchOnceWithTheWholeBatchsNames) {
    const FillOutcome whole = runFill({"--batch", "--out", out("whole"), input});
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    QStringList together;
    for (int k = 0; k < 3; ++k) {
        const QString shardOut = out(QStringLiteral("shard%1").arg(k));
        const FillOutcome o = runFill(
            {"--batch", "--shard", QStringLiteral("%1/3").arg(k), "--out", shardOut, input});
        ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
        const QStringList made = filesIn(shardOut);
        // Every third of the sorted files: 17, 17 and 16 of 50.
        EXPECT_EQ(made.size(), k < 2 ? 17 : 16);
        for (const QString& name : made)
            EXPECT_FALSE(together.contains(name)) << name.toStdString();
        together << made;
    }
    together.sort();
    EXPECT_EQ(together, filesIn(out("whole")));
    EXPECT_EQ(together.size(), 50);
    // The colliding names are decided over the whole list, whichever shard makes them.
    EXPECT_TRUE(together.contains("Timesheet dana collide 2021-08-30 (3).xls"));
    EXPECT_TRUE(QFile::exists(out("shard2") + "/Timesheet Dana Collide 2021-08-30 (2).xls"));
}

TEST_F(BatchToolTest, FormatsNoticesAndFailedRunsSetTheExitStatus) {
    const QString few = dir.filePath("few");
    QDir().mkpath(few);
    ASSERT_TRUE(QFile::copy(input + "/ts-001.ini", few + "/a.ini"));
    // A key given twice: made, with a notice, so status 1.
    ASSERT_TRUE(writeFile(few + "/b.ini",
                          "[Tallowby]\ntxtEmp=Twice\ntxtEmp=Again\n"
                          "dtpDate=2021-08-30\n"));
    const FillOutcome notice =
        runFill({"--batch", "--out", out("few"), "--format", "xls,pdf", "--format", "xlsx", few});
    EXPECT_EQ(notice.exitCode, 1) << notice.err.toStdString();
    EXPECT_TRUE(notice.err.contains("gives txtEmp more than once")) << notice.err.toStdString();
    const QString a = out("few") + "/" + expectedStem(1, sheets[1]);
    for (const char* ext : {".xls", ".xlsx", ".pdf"}) {
        EXPECT_TRUE(QFile::exists(a + ext)) << ext;
        EXPECT_TRUE(QFile::exists(out("few") + "/Timesheet Twice 2021-08-30" + ext)) << ext;
    }
    EXPECT_EQ(tallowby::testing::readFile(a + ".pdf").left(5), "%PDF-");

    // More rate types than a sheet has columns: that run fails, the other is made.
    QString rates;
    for (int i = 0; i < 255; ++i) rates += QStringLiteral("%1R%2^1").arg(i ? "|" : "").arg(i);
    ASSERT_TRUE(
        writeFile(few + "/b.ini", ("[Tallowby]\ntxtEmp=Wide\nRates=" + rates + "\n").toUtf8()));
    const FillOutcome failed = runFill({"--batch", "--out", out("failed"), few});
    EXPECT_EQ(failed.exitCode, 2) << failed.err.toStdString();
    EXPECT_TRUE(failed.err.contains("tallowby-fill: " + few +
                                    "/b.ini:\n  Application Error: The "
                                    "timesheet has room for at most 254 rate types"))
        << failed.err.toStdString();
    EXPECT_EQ(filesIn(out("failed")), QStringList{expectedStem(1, sheets[1]) + ".xls"});

    // A missing input is named, and the others are still made.
    const FillOutcome missing =
        runFill({"--batch", "--out", out("missing"), few + "/a.ini", dir.filePath("gone")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(dir.filePath("gone") + " does not exist"));
    EXPECT_EQ(filesIn(out("missing")).size(), 1);
}

TEST_F(BatchToolTest, TheProgressLineShowsOnATerminalOnly) {
    const QString few = dir.filePath("few");
    QDir().mkpath(few);
    for (const char* name : {"ts-001.ini", "ts-002.ini", "ts-003.ini"})
        ASSERT_TRUE(QFile::copy(input + "/" + name, few + "/" + name));
    const FillOutcome piped = runFill({"--batch", "--out", out("piped"), few});
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_FALSE(piped.err.contains('\r'));
    EXPECT_FALSE(piped.err.contains("done")) << piped.err.toStdString();
    EXPECT_EQ(filesIn(out("piped")).size(), 3);

    // script(1) gives the command a terminal and copies what it showed.
    if (!QFileInfo::exists("/usr/bin/script")) GTEST_SKIP() << "no script(1) for a terminal";
    const QString command =
        QStringLiteral("'%1' --batch --out '%2' '%3'")
            .arg(QString::fromUtf8(tallowby::test_paths::kFillTool), out("terminal"), few);
    const FillOutcome shown =
        tallowby::testing::runProgram("/usr/bin/script", {"-qec", command, "/dev/null"});
    EXPECT_EQ(shown.exitCode, 0) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains("\r0/3 done")) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains("\r3/3 done, ")) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains(" per second")) << shown.out.toStdString();
    EXPECT_EQ(filesIn(out("terminal")).size(), 3);
}

}  // namespace
