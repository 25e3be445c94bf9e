// Runs the built tallowby-fill as a user's script would.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/fill/fill_process.h"
#include "tests/support/full_disk.h"
#include "tests/support/zip_entry.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using Outcome = tallowby::testing::FillOutcome;
using tallowby::testing::contains;
using tallowby::testing::readFile;
using tallowby::testing::runFill;
using tallowby::testing::writeFile;
using tallowby::testing::zipEntry;

class FillToolTest : public tallowby::testing::FillWeekTest {
  protected:
    FillToolTest()
        : FillWeekTest(QByteArray(tallowby::testing::kTwoRateWeek) + "txtEmp=Ana Example\n") {}
    void writeSettings(const QString& rates, const QString& hours) {
        ASSERT_TRUE(writeFile(settings,
                              QStringLiteral("[Tallowby]\ndtpDate=2021-08-30\nRates=%1\nHours=%2\n")
                                  .arg(rates, hours)
                                  .toUtf8()));
    }
    QByteArray contents(const QString& path) { return readFile(path); }
};

TEST_F(FillToolTest, WritesTheWorkbookAndThePictureFromASettingsFile) {
    const QString xls = dir.filePath("week.xls");
    const QString picture = dir.filePath("week.png");
    const Outcome o = runFill({"--xls", xls, "--picture", picture, "--settings", settings});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    const auto book = tallowby::engine::readWorkbookFile(xls.toStdString());
    const auto& sheet = book.sheets.at(0);
    EXPECT_EQ(sheet.find(3, 0)->value.text, "Tallowby Test, Inc");              // A4, comma kept
    EXPECT_EQ(sheet.find(4, 6)->value.text, "Ana Example");                     // G5
    EXPECT_NEAR(sheet.find(20, 8)->value.number, 2 * 11.5 + 1.5 * 12.7, 1e-9);  // I21
    EXPECT_EQ(contents(picture).left(4), QByteArray("\x89PNG"));
    EXPECT_GT(QImage(picture).width(), 500);
}

TEST_F(FillToolTest, WritesTheWorkbookAsXlsxWithItsComputedTotals) {
    const QString xlsx = dir.filePath("week.xlsx");
    const Outcome o = runFill({"--xlsx", xlsx, "--settings", settings});
    ASSERT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_FALSE(o.err.contains("tallowby-fill")) << o.err.toStdString();  // nothing left out
    const std::string path = xlsx.toStdString();
    EXPECT_TRUE(contains(zipEntry(path, "xl/sharedStrings.xml"), "Tallowby Test, Inc"));
    // I21, the total pay, with the result of the run's own recalculation.
    EXPECT_TRUE(
        contains(zipEntry(path, "xl/worksheets/sheet1.xml"), "<f>SUM(B21:H21)</f><v>42.05</v>"));
    // Only the asked-for file is left; the scratch files went with the run.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"timesheet.ini", "week.xlsx"}));
}

TEST_F(FillToolTest, NamesLeftOutEntriesOnStderrOnceAndStillSucceeds) {
    // Two entries without a place, one kept.
    writeSettings("Regular^11.50|Overtime^12.70",
                  "Mon^Regular^02:00^0^0|^Regular^01:00^-1^0|Wed^Gone^03:00^2^9");
    const QString xls = dir.filePath("week.xls");
    const Outcome o = runFill({"--xls", xls, "--settings", settings});
    EXPECT_EQ(o.exitCode, 0) << o.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(xls));
    EXPECT_EQ(o.err.count("left out"), 1) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains("2 hours entries were left out"));
    EXPECT_TRUE(o.err.contains("(none), Regular, 01:00"));
    EXPECT_TRUE(o.err.contains("Wed, Gone, 03:00"));
}

TEST_F(FillToolTest, MoreRateTypesThanColumnsMakeNoWorkbook) {
    QString rates;
    for (int i = 0; i < 255; ++i) rates += QStringLiteral("%1R%2^1").arg(i ? "|" : "").arg(i);
    writeSettings(rates, "Mon^R0^02:00^0^0");
    const QString xls = dir.filePath("week.xls");
    const Outcome o = runFill({"--xls", xls, "--settings", settings});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(xls));
    EXPECT_TRUE(o.err.contains("at most 254 rate types")) << o.err.toStdString();
}

TEST_F(FillToolTest, TheRunsFailuresArePrintedAsTheirErrorReports) {
    QString rates;
    for (int i = 0; i < 255; ++i) rates += QStringLiteral("%1R%2^1").arg(i ? "|" : "").arg(i);
    writeSettings(rates, "Mon^R0^02:00^0^0");
    const Outcome o = runFill({"--xls", dir.filePath("week.xls"), "--settings", settings});
    EXPECT_EQ(o.exitCode, 2);
    // The window's report, caption first, its line breaks made plain, once.
    EXPECT_EQ(o.err.count("Application Error: The timesheet has room for at most 254 rate types"),
              1)
        << o.err.toStdString();
    EXPECT_TRUE(
        o.err.contains("\nin Tallowby2021/08/31.Form1.PushButton6_Click at line 101\n\n"
                       "Please email screenshot of this message to "))
        << o.err.toStdString();
    EXPECT_FALSE(o.err.contains('\r'));
    EXPECT_TRUE(
        o.err.endsWith("tallowby-fill: the run did not complete, so no output was "
                       "replaced\n"))
        << o.err.toStdString();
}

TEST_F(FillToolTest, RefusesBadArgumentsWithAMessageAndNoOutput) {
    const Outcome help = runFill({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--xls OUT.xls"));
    EXPECT_TRUE(help.out.contains("--xlsx OUT.xlsx"));
    EXPECT_TRUE(help.out.contains("--version"));
    // The version needs no outputs named; it is the project's version.
    const Outcome version = runFill({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QRegularExpression("^tallowby-fill [0-9]+\\.[0-9]+\\.[0-9]+\n$")
                    .match(version.out)
                    .hasMatch())
        << version.out.toStdString();

    for (const QStringList& args : {QStringList{}, QStringList{"--xls"}, QStringList{"--bogus"},
                                    QStringList{"--xls", dir.filePath("a.xls"), "--settings"}}) {
        const Outcome o = runFill(args);
        EXPECT_EQ(o.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(o.err.contains("Usage:")) << o.err.toStdString();
    }
    const Outcome missing =
        runFill({"--xls", dir.filePath("b.xls"), "--settings", dir.filePath("none.ini")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("cannot read the settings file"));
    EXPECT_FALSE(QFile::exists(dir.filePath("b.xls")));
}

TEST_F(FillToolTest, AnOutputThatCannotBeWrittenLeavesTheOldFileWhole) {
    // A path below a regular file cannot be created, whoever runs the test.
    const QString blocked = settings + "/week.xls";
    const Outcome o = runFill({"--xls", blocked, "--settings", settings});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(o.err.contains("cannot write")) << o.err.toStdString();

    // The outputs are one set: a picture that cannot be written keeps the
    // workbook written beside it from replacing the old one.
    const QString xls = dir.filePath("week.xls");
    ASSERT_TRUE(writeFile(xls, "old contents"));
    const Outcome second = runFill({"--xls", xls, "--picture", blocked, "--settings", settings});
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_TRUE(second.err.contains("no output was replaced")) << second.err.toStdString();
    EXPECT_EQ(contents(xls), QByteArray("old contents"));
    // No stray new files.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(FillToolTest, SpecialFilesAndClashingOutputsAreRefusedBeforeAnyWork) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    QDir().mkpath(dir.filePath("folder"));
    const QString xls = dir.filePath("week.xls");
    QFile::link(settings, dir.filePath("settings-link.ini"));
    const QByteArray settingsBefore = contents(settings);
    const std::vector<std::pair<QStringList, QString>> cases{
        {{"--xls", "/dev/null"}, "cannot write /dev/null: it is a device"},
        {{"--xls", dir.filePath("fifo")}, "it is a FIFO"},
        {{"--xls", dir.filePath("folder")}, "it is a folder"},
        {{"--xls", xls, "--picture", dir.filePath("fifo")}, "it is a FIFO"},
        {{"--xls", xls, "--picture", dir.filePath("./week.xls")}, "name the same file"},
        {{"--picture", dir.filePath("week.png"), "--pdf", dir.filePath("week.png")},
         "name the same file"},
        {{"--pdf", dir.filePath("fifo")}, "it is a FIFO"},
        {{"--xlsx", dir.filePath("folder")}, "it is a folder"},
        {{"--xls", xls, "--xlsx", xls}, "name the same file"},
        {{"--xlsx", settings}, "it is the settings file"},
        {{"--pdf", settings}, "it is the settings file"},
        {{"--xls", dir.filePath("settings-link.ini")}, "it is the settings file"},
        {{"--xls", xls, "--picture", settings}, "it is the settings file"}};
    for (const auto& [arguments, why] : cases) {
        const Outcome o = runFill(arguments + QStringList{"--settings", settings});
        EXPECT_EQ(o.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(o.err.contains(why)) << o.err.toStdString();
        EXPECT_EQ(o.err.count("tallowby-fill:"), 1) << o.err.toStdString();  // one message
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    ASSERT_EQ(::stat(QFile::encodeName(dir.filePath("fifo")).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(QFile::exists(xls));
    EXPECT_EQ(contents(settings), settingsBefore);
}

TEST_F(FillToolTest, AFullDiskKeepsTheOldWorkbookAndFails) {
    tallowby::testing::FullDisk disk;
    if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
    const QString xls = disk.filePath("week.xls");
    const Outcome first = runFill({"--xls", xls, "--settings", settings});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QByteArray old = contents(xls);
    ASSERT_EQ(disk.fill(), 0);
    const Outcome o =
        runFill({"--xls", xls, "--picture", disk.filePath("week.bmp"), "--settings", settings});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(o.err.contains("No space left on device")) << o.err.toStdString();
    EXPECT_EQ(contents(xls), old);
    EXPECT_EQ(disk.entries(), (QStringList{".filler", ".filler2", "week.xls"}));
    // The .xlsx is built in the private folder, but its copy on the full disk fails whole.
    const Outcome xlsx = runFill({"--xlsx", disk.filePath("week.xlsx"), "--settings", settings});
    EXPECT_EQ(xlsx.exitCode, 2);
    EXPECT_TRUE(xlsx.err.contains("No space left on device")) << xlsx.err.toStdString();
    EXPECT_EQ(disk.entries(), (QStringList{".filler", ".filler2", "week.xls"}));
}

TEST_F(FillToolTest, AStoreThatIsAFifoDoesNotHoldTheRunUp) {
    // The user's own store (no --settings) is a FIFO nobody writes to.
    QDir().mkpath(dir.filePath("config/Marrowick"));
    const QString fifo = dir.filePath("config/Marrowick/Marrowick.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    const Outcome o = runFill({"--xls", dir.filePath("week.xls")});
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(o.exitCode, 1) << o.err.toStdString();  // told, then made from the defaults
    EXPECT_TRUE(o.err.contains("it is a FIFO")) << o.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("week.xls")));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(FillToolTest, AStoredWeekStartThatIsNoDateIsToldOnceAndLeftInTheFile) {
    for (const char* stored : {"1900-02-29", "0000-00-00"}) {
        ASSERT_TRUE(
            writeFile(settings, QByteArray("[Tallowby]\ntxtName=ACME\ndtpDate=") + stored + "\n"));
        const QByteArray before = contents(settings);
        const Outcome o = runFill({"--xls", dir.filePath("week.xls"), "--settings", settings});
        EXPECT_EQ(o.exitCode, 1) << o.err.toStdString();
        EXPECT_EQ(o.err.count(QString("\"%1\" is not a date").arg(stored)), 1)
            << o.err.toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath("week.xls")));
        EXPECT_EQ(contents(settings), before);
    }
}

TEST_F(FillToolTest, ASettingsFileWithoutTheSectionOrWithAKeyTwiceIsToldOnce) {
    struct Case {
        QByteArray file;
        const char* told;
    };
    const Case cases[] = {
        {"[Other]\ntxtName=ACME\n", "has no [Tallowby] section"},
        {"[Tallowby]\ntxtName=First\ntxtName=Second\ndtpDate=2021-08-30\n",
         "gives txtName more than once"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(writeFile(settings, c.file));
        const QString xls = dir.filePath("week.xls");
        QFile::remove(xls);
        const Outcome o = runFill({"--xls", xls, "--settings", settings});
        EXPECT_EQ(o.exitCode, 1) << o.err.toStdString();
        EXPECT_EQ(o.err.count(c.told), 1) << o.err.toStdString();
        EXPECT_EQ(o.err.count(settings), 1) << o.err.toStdString();
        EXPECT_TRUE(QFile::exists(xls));
        EXPECT_EQ(contents(settings), c.file);  // read, never rewritten
    }
    // The first of a repeated key is the one used.
    const auto book = tallowby::engine::readWorkbookFile(dir.filePath("week.xls").toStdString());
    EXPECT_EQ(book.sheets.at(0).find(3, 0)->value.text, "First");
}

}  // namespace
