// The timesheet files of a batch: which files in a folder count, their
// order, and what makes a file no timesheet file.
#include "timesheet/timesheet_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

namespace files = tallowby::timesheet_files;

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class TimesheetFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir::setCurrent(dir.path()));  // inputs are named as a user types them
        QDir().mkpath("week/sub");
        for (const char* name : {"week/b.ini", "week/A.INI", "week/a.ini", "week/.hidden.ini",
                                 "week/notes.txt", "week/sub/c.ini", "single.txt"})
            ASSERT_TRUE(write(name, "[Tallowby]\ntxtEmp=X\n"));
        QDir().mkpath("week/folder.ini");
    }
    void TearDown() override { QDir::setCurrent(before); }

    const QString before = QDir::currentPath();
    QTemporaryDir dir;
};

TEST_F(TimesheetFilesTest, AFolderGivesItsIniFilesSortedAndNamedFilesCountAsTheyAre) {
    const files::Found found = files::find({"week/", "single.txt"});
    EXPECT_TRUE(found.problems.isEmpty()) << found.problems.join('\n').toStdString();
    // Code-unit order (capitals first), hidden files, other names, folders
    // and subfolders left out; a file named on the line counts whatever its name.
    EXPECT_EQ(found.files, (QStringList{"single.txt", "week/A.INI", "week/a.ini", "week/b.ini"}));
}

TEST_F(TimesheetFilesTest, TheSameFileReachedTwiceCountsOnceAndMissingInputsAreNamed) {
    ASSERT_TRUE(QFile::link(dir.filePath("week/b.ini"), "link.ini"));
    QDir().mkpath("empty");
    const files::Found found = files::find(
        {"week/b.ini", "./week", "week/../week/b.ini", "link.ini", "gone.ini", "empty"});
    EXPECT_EQ(found.files, (QStringList{"link.ini", "week/A.INI", "week/a.ini"}))
        << found.files.join(' ').toStdString();
    EXPECT_EQ(found.problems, (QStringList{"gone.ini does not exist",
                                           "the folder empty holds no timesheet files (*.ini)"}));
}

TEST_F(TimesheetFilesTest, DescribeReadsTheHeadingOrSaysWhyTheFileIsNoTimesheet) {
    const QDate today(2026, 12, 8);
    ASSERT_TRUE(write("ana.ini", "[Tallowby]\ntxtEmp=Ana Example\ndtpDate=2021-08-30\n"));
    const files::Described ana = files::describe("ana.ini", today);
    ASSERT_TRUE(ana.heading);
    EXPECT_EQ(ana.heading->employee, "Ana Example");
    EXPECT_EQ(ana.heading->weekStart, QDate(2021, 8, 30));
    // A week start that is no date is read as the window reads it: today.
    ASSERT_TRUE(write("nodate.ini", "[Tallowby]\ntxtEmp=B\ndtpDate=someday\n"));
    EXPECT_EQ(files::describe("nodate.ini", today).heading->weekStart, today);

    struct Case {
        const char* name;
        QByteArray bytes;
        const char* why;
    };
    const Case cases[] = {{"other.ini", "[Other]\ntxtEmp=X\n", "has no [Tallowby] section"},
                          {"blank.ini", "\n\n", "has no [Tallowby] section"},
                          {"binary.ini", QByteArray("[Tallowby]\n\0\1", 13), "damaged"},
                          {"prose.ini", "Dear payroll,\n", "damaged"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(write(c.name, c.bytes));
        const files::Described d = files::describe(c.name, today);
        EXPECT_FALSE(d.heading) << c.name;
        EXPECT_TRUE(d.refusal.contains(c.why)) << d.refusal.toStdString();
        EXPECT_TRUE(d.refusal.contains(c.name)) << d.refusal.toStdString();
        EXPECT_FALSE(d.refusal.contains("defaults")) << d.refusal.toStdString();
    }
    EXPECT_FALSE(files::describe("gone.ini", today).heading);
    EXPECT_FALSE(files::describe("week", today).heading);
}

}  // namespace
