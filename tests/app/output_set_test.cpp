#include "app/output_set.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "app/failure.h"
#include "atomic_write_testing.h"
#include "tests/support/file_bytes.h"
#include "tests/support/full_disk.h"

namespace tallowby {
namespace {

class OutputSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        a = dir.filePath("week.xls");
        b = dir.filePath("week.pdf");
        testing::writePlain(a, "old workbook");
        testing::writePlain(b, "old pdf");
    }
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    void expectBothOld() {
        EXPECT_EQ(testing::readFile(a), "old workbook");
        EXPECT_EQ(testing::readFile(b), "old pdf");
        EXPECT_EQ(entries(), (QStringList{"week.pdf", "week.xls"}));
    }
    QTemporaryDir dir;
    QString a, b;
};

TEST_F(OutputSetTest, AllOutputsAreReplacedTogether) {
    OutputSet outputs;
    outputs.write(a, "new workbook");
    outputs.write(b, "new pdf");
    outputs.write(dir.filePath("week.png"), "new picture");
    // Nothing shows before the commit, not even a name.
    EXPECT_EQ(testing::readFile(a), "old workbook");
    EXPECT_EQ(entries(), (QStringList{"week.pdf", "week.xls"}));
    outputs.commit();
    EXPECT_EQ(testing::readFile(a), "new workbook");
    EXPECT_EQ(testing::readFile(b), "new pdf");
    EXPECT_EQ(entries(), (QStringList{"week.pdf", "week.png", "week.xls"}));
}

TEST_F(OutputSetTest, OneOutputThatCannotBeCompletedKeepsEveryOldFile) {
    // The second output's flush fails, after the first was complete.
    int flushes = 0;
    {
        testing::FaultyCalls faulty({.fsync = [&](int fd) {
            if (++flushes == 2) return errno = EIO, -1;
            return ::fsync(fd);
        }});
        OutputSet outputs;
        outputs.write(a, "new workbook");
        outputs.write(b, "new pdf");
        const std::string why = testing::failureText([&] { outputs.commit(); });
        EXPECT_NE(why.find("Cannot write " + b.toStdString()), std::string::npos) << why;
        EXPECT_NE(why.find(std::strerror(EIO)), std::string::npos) << why;
    }
    expectBothOld();

    // The second output's name cannot be given: the first stays old too.
    int links = 0;
    {
        testing::FaultyCalls faulty({.link = [&](const char* from, const char* to) {
            if (++links == 2) return errno = ENOSPC, -1;
            return ::linkat(AT_FDCWD, from, AT_FDCWD, to, AT_SYMLINK_FOLLOW);
        }});
        OutputSet outputs;
        outputs.write(a, "new workbook");
        outputs.write(b, "new pdf");
        EXPECT_NE(testing::failureText([&] { outputs.commit(); }).find(std::strerror(ENOSPC)),
                  std::string::npos);
    }
    expectBothOld();

    // An output that is refused at once abandons the outputs before it.
    {
        OutputSet outputs;
        outputs.write(a, "new workbook");
        const std::string why =
            testing::failureText([&] { outputs.write(dir.filePath("no/such/folder.pdf"), "x"); });
        EXPECT_NE(why.find("folder.pdf"), std::string::npos) << why;
    }
    expectBothOld();

    // A set that is dropped without a commit replaces nothing.
    {
        OutputSet outputs;
        outputs.write(a, "new workbook");
    }
    expectBothOld();
}

TEST(OutputSetOnAFullDisk, RoomForOneOfTwoOutputsKeepsBoth) {
    tallowby::testing::FullDisk disk(QStringLiteral("1m"));
    if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
    const QString a = disk.filePath("week.xls");
    const QString b = disk.filePath("week.pdf");
    testing::writePlain(a, "old workbook");
    testing::writePlain(b, "old pdf");
    const QByteArray big(200 * 1024, 'x');
    ASSERT_GT(disk.fillLeaving(300 * 1024), 200 * 1024);
    ASSERT_LT(disk.freeBytes(), 400 * 1024);
    OutputSet outputs;
    const std::string why = testing::failureText([&] {
        outputs.write(a, big);
        outputs.write(b, big);
        outputs.commit();
    });
    EXPECT_NE(why.find(std::strerror(ENOSPC)), std::string::npos) << why;
    EXPECT_EQ(testing::readFile(a), "old workbook");
    EXPECT_EQ(testing::readFile(b), "old pdf");
    EXPECT_EQ(disk.entries(), (QStringList{".filler", "week.pdf", "week.xls"}));
}

}  // namespace
}  // namespace tallowby
