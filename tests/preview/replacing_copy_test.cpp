#include "preview/replacing_copy.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

using tallowby::preview::copyReplacing;

namespace {
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
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
