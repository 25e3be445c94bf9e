// What tallowby-fill leaves in place when the run or an output fails, and when
// it is killed: the old outputs whole, no files beside them, no temp folders.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "tests/fill/fill_process.h"
#include "tests/support/full_disk.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using Outcome = tallowby::testing::FillOutcome;
using tallowby::testing::readFile;
using tallowby::testing::runFill;
using tallowby::testing::writeFile;

class FillOutputsTest : public tallowby::testing::FillWeekTest {
  protected:
    FillOutputsTest() : FillWeekTest(tallowby::testing::kTwoRateWeek) {}
    QStringList entries(const QString& path) const {
        return QDir(path).entryList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    }
};

TEST_F(FillOutputsTest, AFullTempFolderLeavesTheOldPictureByteIdentical) {
    const QString picture = dir.filePath("pic.bmp");
    const Outcome first = runFill({"--picture", picture, "--settings", settings});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QByteArray old = readFile(picture);
    ASSERT_GT(old.size(), 500 * 1024);

    tallowby::testing::FullDisk temp(QStringLiteral("512k"));
    if (!temp.skipReason().empty()) GTEST_SKIP() << temp.skipReason();
    // Room for the template and the workbook, not for the temp picture.
    ASSERT_LT(temp.fillLeaving(150 * 1024), 200 * 1024);
    const Outcome o =
        runFill({"--picture", picture, "--settings", settings}, "C.UTF-8", {"TEMP=" + temp.path()});
    EXPECT_EQ(o.exitCode, 2) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains("temp.bmp")) << o.err.toStdString();
    EXPECT_TRUE(
        o.err.endsWith("tallowby-fill: the run did not complete, so no output was "
                       "replaced\n"))
        << o.err.toStdString();
    EXPECT_EQ(readFile(picture), old);
    EXPECT_EQ(entries(dir.path()), (QStringList{"pic.bmp", "timesheet.ini"}));
    EXPECT_EQ(entries(temp.path()), QStringList{".filler"});
}

TEST_F(FillOutputsTest, TwoOutputsWithRoomForOneLeaveBothOld) {
    tallowby::testing::FullDisk disk(QStringLiteral("1m"));
    if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
    const QString xls = disk.filePath("week.xls");
    const QString pdf = disk.filePath("week.pdf");
    const Outcome first = runFill({"--xls", xls, "--pdf", pdf, "--settings", settings});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QByteArray oldXls = readFile(xls);
    const QByteArray oldPdf = readFile(pdf);
    // Room for a new workbook beside the old one, not for the PDF as well.
    const qint64 left = disk.fillLeaving((oldXls.size() + 4095) / 4096 * 4096 + 4096);
    ASSERT_GE(left, oldXls.size());
    ASSERT_LT(left, oldXls.size() + oldPdf.size());

    const Outcome o = runFill({"--xls", xls, "--pdf", pdf, "--settings", settings});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(o.err.contains("No space left on device")) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains("no output was replaced")) << o.err.toStdString();
    EXPECT_EQ(readFile(xls), oldXls);
    EXPECT_EQ(readFile(pdf), oldPdf);
    EXPECT_EQ(disk.entries(), (QStringList{".filler", "week.pdf", "week.xls"}));
}

// A run killed with SIGKILL at any moment leaves the targets old or new and
// nothing beside them; its temp folder is removed by the next run.
TEST_F(FillOutputsTest, RunsKilledAtRandomLeaveNoLitter) {
    const QString out = dir.filePath("out");
    const QString temp = dir.filePath("temp");
    ASSERT_TRUE(QDir().mkpath(out));
    ASSERT_TRUE(QDir().mkpath(temp));
    const QStringList arguments{"--xls",     out + "/week.xls", "--pdf",      out + "/week.pdf",
                                "--picture", out + "/week.bmp", "--settings", settings};
    const QStringList environment{"TEMP=" + temp};
    QElapsedTimer clock;
    clock.start();
    const Outcome whole = runFill(arguments, "C.UTF-8", environment);
    const qint64 runTime = clock.elapsed();
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    const QStringList targets{"week.bmp", "week.pdf", "week.xls"};
    ASSERT_EQ(entries(out), targets);

    QRandomGenerator random(17);
    int killed = 0;
    int leftovers = 0;
    for (int i = 0; i < 50; ++i) {
        QProcess process;
        process.setProcessEnvironment(
            tallowby::testing::childEnvironment(QStringLiteral("C.UTF-8"), environment));
        process.start(QString::fromUtf8(tallowby::test_paths::kFillTool), arguments);
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(random.bounded(runTime + runTime / 5 + 1)));
        if (process.state() == QProcess::Running) {
            ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
            ++killed;
        }
        ASSERT_TRUE(process.waitForFinished(60000));
        // A kill between naming the new files and renaming them may leave
        // one, which the next run removes; nothing else is ever there.
        QStringList others = entries(out);
        for (const QString& name : targets) others.removeOne(name);
        leftovers += static_cast<int>(others.size());
        EXPECT_TRUE(
            others.filter(QRegularExpression("^\\.week\\.(xls|pdf|bmp)\\.tallowby-[A-Za-z0-9]{6}$"))
                .size() == others.size())
            << others.join(", ").toStdString() << " after run " << i;
        // What is there is a whole file, old or new.
        EXPECT_EQ(readFile(out + "/week.pdf").right(6).trimmed(), "%%EOF") << i;
    }
    EXPECT_GT(killed, 25);
    const qsizetype leftFolders = entries(temp).size();

    const Outcome next = runFill(arguments, "C.UTF-8", environment);
    EXPECT_EQ(next.exitCode, 0) << next.err.toStdString();
    EXPECT_EQ(entries(temp), QStringList{}) << leftFolders << " folders were left by killed runs";
    EXPECT_EQ(entries(out), targets) << leftovers << " new files were left by killed runs";
}

TEST_F(FillOutputsTest, GeneralFieldsStayTextAndBadRatesAreReportedButTheRunCompletes) {
    ASSERT_TRUE(writeFile(settings,
                          "[Tallowby]\n"
                          "txtName=TRUE\n"
                          "txtLocation=1/2\n"
                          "txtCity=City\n"
                          "txtPhone=0123456\n"
                          "txtEmp=+15550100\n"
                          "txtSVisor=007\n"
                          "dtpDate=2021-08-30\n"
                          "Rates=Regular^abc|Overtime^12.70\n"
                          "Hours=Mon^Regular^02:00^0^0|Tue^Overtime^01:30^1^1|"
                          "Tue^Overtime^8:75^1^1|Wed^Overtime^abc^2^1\n"));
    const QString xls = dir.filePath("week.xls");
    const Outcome o = runFill({"--xls", xls, "--settings", settings});
    // Written, and exit 1 for the reported rate.
    EXPECT_EQ(o.exitCode, 1) << o.err.toStdString();
    EXPECT_EQ(o.err.count("hour rate was not written"), 1) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains("at line 146"));
    EXPECT_TRUE(o.err.contains("2 hours entries were left out"));
    EXPECT_TRUE(o.err.contains("Tue, Overtime, 8:75\nWed, Overtime, abc\n")) << o.err.toStdString();
    const auto book = tallowby::engine::readWorkbookFile(xls.toStdString());
    const auto& sheet = book.sheets.at(0);
    using Type = tallowby::engine::CellValue::Type;
    for (const auto& [row, column, text] :
         std::vector<std::tuple<uint16_t, uint16_t, std::string>>{{3, 0, "TRUE"},
                                                                  {6, 0, "1/2"},
                                                                  {8, 0, "0123456"},
                                                                  {4, 6, "+15550100"},
                                                                  {6, 6, "007"}}) {
        ASSERT_NE(sheet.find(row, column), nullptr) << text;
        EXPECT_EQ(sheet.find(row, column)->value.type, Type::Text) << text;
        EXPECT_EQ(sheet.find(row, column)->value.text, text);
    }
    EXPECT_TRUE(sheet.find(19, 1) == nullptr || sheet.find(19, 1)->value.type == Type::Empty);
    EXPECT_EQ(sheet.find(20, 1)->value.type, Type::Number);
    EXPECT_EQ(sheet.find(20, 1)->value.number, 0);                   // B21, no pay at all
    EXPECT_NEAR(sheet.find(20, 8)->value.number, 1.5 * 12.7, 1e-9);  // I21
}

}  // namespace
