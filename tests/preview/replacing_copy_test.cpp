#include "preview/replacing_copy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

#include "tests/support/file_bytes.h"
#include "tests/support/full_disk.h"

using tallowby::preview::copyReplacing;
using tallowby::testing::readFile;

namespace {
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class ReplacingCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        source = dir.filePath("kovlar12345678.xls");
        QByteArray bytes;
        for (int i = 0; i < 200000; ++i) bytes.append(static_cast<char>(i * 7 % 251));
        writeFile(source, bytes);
        sourceBytes = bytes;
    }
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    QString source;
    QByteArray sourceBytes;
};
TEST(ReplacingCopyOnAFullDisk, TheOldCopyStaysAndTheFailureIsReported) {
    tallowby::testing::FullDisk disk;
    if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
    QTemporaryDir outside;
    const QString source = outside.filePath("kovlar12345678.xls");
    QByteArray workbook(30000, 'w');
    writeFile(source, workbook);
    const QString target = disk.filePath("saved.xls");
    writeFile(target, QByteArray(12000, 'o'));
    ASSERT_EQ(disk.fill(), 0);
    try {
        copyReplacing(source, target);
        FAIL() << "a copy onto a full disk reported success";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(readFile(target), QByteArray(12000, 'o'));
    EXPECT_EQ(disk.entries(), (QStringList{".filler", ".filler2", "saved.xls"}));
}

TEST(ReplacingCopyTargets, SpecialFilesAndTheSourceItselfAreRefused) {
    QTemporaryDir dir;
    const QString source = dir.filePath("kovlar12345678.xls");
    writeFile(source, "workbook");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(source, dir.filePath("link.xls")));
    for (const auto& [target, why] : std::vector<std::pair<QString, std::string>>{
             {"/dev/null", "it is a device"},
             {dir.filePath("fifo"), "it is a FIFO"},
             {dir.filePath("link.xls"), "it is the file being copied"},
             {dir.filePath("./kovlar12345678.xls"), "it is the file being copied"}}) {
        try {
            copyReplacing(source, target);
            ADD_FAILURE() << target.toStdString() << " was accepted";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(readFile(source), "workbook");
}

}  // namespace

TEST_F(ReplacingCopy, WritesANewFileByteForByte) {
    const QString target = dir.filePath("week12");
    copyReplacing(source, target);
    EXPECT_EQ(readFile(target), sourceBytes);
    EXPECT_EQ(entries(), (QStringList{"kovlar12345678.xls", "week12"}));
}

TEST_F(ReplacingCopy, ReplacesALongerExistingFileCompletely) {
    const QString target = dir.filePath("old.xls");
    writeFile(target, QByteArray(300000, 'x'));
    copyReplacing(source, target);
    EXPECT_EQ(readFile(target), sourceBytes);
}

TEST_F(ReplacingCopy, AMissingSourceKeepsTheExistingTarget) {
    const QString target = dir.filePath("old.xls");
    writeFile(target, "the user's work");
    QFile::remove(source);
    EXPECT_THROW(copyReplacing(source, target), std::runtime_error);
    EXPECT_EQ(readFile(target), QByteArray("the user's work"));
    EXPECT_EQ(entries(), QStringList{"old.xls"});
}

TEST_F(ReplacingCopy, AnUnwritableFolderIsReported) {
    // A path beneath a regular file cannot be created, not even by root.
    const QString blocker = dir.filePath("plain");
    writeFile(blocker, "x");
    try {
        copyReplacing(source, blocker + "/out.xls");
        FAIL() << "the copy should fail";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(QString::fromUtf8(e.what()).indexOf("plain/out.xls"), -1) << e.what();
    }
    EXPECT_THROW(copyReplacing(source, dir.filePath("nowhere/out.xls")), std::runtime_error);
}

TEST_F(ReplacingCopy, AFolderIsNeverReplaced) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.xls"));
    EXPECT_THROW(copyReplacing(source, dir.filePath("folder.xls")), std::runtime_error);
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.xls")).isDir());
}

TEST_F(ReplacingCopy, AnEmptyTargetIsRefused) {
    EXPECT_THROW(copyReplacing(source, QString()), std::runtime_error);
}
