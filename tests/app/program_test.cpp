#include "app/program.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/build_config.h"
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
    EXPECT_FALSE(program::fileExists(dir.filePath("no-such-folder/file.txt")));
    EXPECT_FALSE(program::fileExists(dir.filePath("absent.txt")));
    EXPECT_FALSE(program::fileExists(QString()));
    EXPECT_TRUE(program::fileExists(dir.path()));  // a folder counts
    program::writeBinaryFile("x", dir.filePath("present.txt"));
    EXPECT_TRUE(program::fileExists(dir.filePath("present.txt")));
}

TEST(RemoveFile, RemovesFilesReadOnlyOnesTooAndIgnoresMissing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bin");
    program::writeBinaryFile("abc", path);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    program::removeFile(path);
    EXPECT_FALSE(QFile::exists(path));
    program::removeFile(path);  // already gone: nothing happens, nothing thrown
    program::removeFile(dir.filePath("missing/folder/file"));
}

TEST(WriteBinaryFile, ShorterWriteLeavesExactlyTheNewBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bin");
    program::writeBinaryFile(QByteArray(20, 'o'), path);
    ASSERT_EQ(QFileInfo(path).size(), 20);
    const QByteArray fresh("0123456789");
    program::writeBinaryFile(fresh, path);
    EXPECT_EQ(readAll(path), fresh);
}

TEST(WriteBinaryFile, KeepsEveryByteValueAndCreatesTheFile) {
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
    program::writeBinaryFile(bytes, dir.filePath("all.bin"));
    EXPECT_EQ(readAll(dir.filePath("all.bin")), bytes);
    program::writeBinaryFile(QByteArray(), dir.filePath("all.bin"));
    EXPECT_EQ(QFileInfo(dir.filePath("all.bin")).size(), 0);
}

TEST(WriteBinaryFile, UnwritablePathThrowsWithTheReason) {
    QTemporaryDir dir;
    try {
        program::writeBinaryFile("x", dir.filePath("no-such-folder/out.bin"));
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_NE(QString::fromUtf8(f.what()).indexOf("no-such-folder"), -1);
    }
}

TEST(AppTitle, ShortNamesStayLongOnesAreCutAtTheirLastBlanks) {
    EXPECT_EQ(program::appTitleFrom("Tallowby"), "Tallowby");
    const QString forty(40, QLatin1Char('x'));
    EXPECT_EQ(program::appTitleFrom(forty), forty);
    EXPECT_EQ(program::appTitleFrom("Tallowby Weekly Employee Timesheet Maker Deluxe Edition"),
              "Tallowby Weekly Employee Timesheet Maker");
    // No blank to cut at: the first 40 characters.
    EXPECT_EQ(program::appTitleFrom(QString(50, QLatin1Char('y'))), QString(40, QLatin1Char('y')));
}

TEST(AppTitle, SetAppTitleGivesTheProductName) {
    program::setAppTitle();
    EXPECT_EQ(program::appTitle(), "Tallowby");
}

}  // namespace
}  // namespace tallowby
