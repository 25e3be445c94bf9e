// Runs the built tallowby-fill as a user's script would.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "tests/fill/fill_process.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using Outcome = tallowby::testing::FillOutcome;
using tallowby::testing::runFill;

class FillToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        settings = dir.filePath("timesheet.ini");
        QFile f(settings);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "[Tallowby]\n"
            "txtName=Tallowby Test, Inc\n"
            "txtEmp=Ana Example\n"
            "dtpDate=2021-08-30\n"
            "Rates=Regular^11.50|Overtime^12.70\n"
            "Hours=Mon^Regular^02:00^0^0|Tue^Overtime^01:30^1^1\n");
    }
    QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString settings;
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

TEST_F(FillToolTest, RefusesBadArgumentsWithAMessageAndNoOutput) {
    const Outcome help = runFill({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--xls OUT.xls"));

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

    // A successful run replaces an existing output only when complete; a
    // failing picture write afterwards does not touch the workbook.
    const QString xls = dir.filePath("week.xls");
    QFile old(xls);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    const Outcome second = runFill({"--xls", xls, "--picture", blocked, "--settings", settings});
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_NE(contents(xls), QByteArray("old contents"));
    EXPECT_EQ(contents(xls).left(4), QByteArray("\xD0\xCF\x11\xE0"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // no stray temp files
}

}  // namespace
