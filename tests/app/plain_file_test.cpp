#include "app/plain_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/failure.h"

namespace tallowby {
namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(FileExists, MissingFolderFileAndFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(fileExists(dir.filePath("no-such-folder/file.txt")));
    EXPECT_FALSE(fileExists(dir.filePath("absent.txt")));
    EXPECT_FALSE(fileExists(QString()));
    EXPECT_TRUE(fileExists(dir.path()));  // a folder counts
    writeBinaryFile("x", dir.filePath("present.txt"));
    EXPECT_TRUE(fileExists(dir.filePath("present.txt")));
}

TEST(RemoveFile, RemovesFilesReadOnlyOnesTooAndIgnoresMissing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bin");
    writeBinaryFile("abc", path);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    removeFile(path);
    EXPECT_FALSE(QFile::exists(path));
    removeFile(path);  // already gone: nothing happens, nothing thrown
    removeFile(dir.filePath("missing/folder/file"));
}

TEST(WriteBinaryFile, ShorterWriteLeavesExactlyTheNewBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bin");
    writeBinaryFile(QByteArray(20, 'o'), path);
    ASSERT_EQ(QFileInfo(path).size(), 20);
    const QByteArray fresh("0123456789");
    writeBinaryFile(fresh, path);
    EXPECT_EQ(readAll(path), fresh);
}

TEST(WriteBinaryFile, KeepsEveryByteValueAndCreatesTheFile) {
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
    writeBinaryFile(bytes, dir.filePath("all.bin"));
    EXPECT_EQ(readAll(dir.filePath("all.bin")), bytes);
    writeBinaryFile(QByteArray(), dir.filePath("all.bin"));
    EXPECT_EQ(QFileInfo(dir.filePath("all.bin")).size(), 0);
}

TEST(WriteBinaryFile, UnwritablePathThrowsWithTheReason) {
    QTemporaryDir dir;
    try {
        writeBinaryFile("x", dir.filePath("no-such-folder/out.bin"));
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_NE(QString::fromUtf8(f.what()).indexOf("no-such-folder"), -1);
    }
}

}  // namespace
}  // namespace tallowby
