// Writing a file all or nothing: a failure leaves an existing file as it was
// and no temporary file behind, also when the disk is full.
#include "app/whole_file_write.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/failure.h"

namespace tallowby {
namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(WholeFileWrite, WritesAndReplaces) {
    QTemporaryDir dir;
    const QString path = dir.filePath("week.pdf");
    writeWholeFile(path, "first");
    EXPECT_EQ(contents(path), QByteArray("first"));
    writeWholeFile(path, QByteArray(100000, 'x'));
    EXPECT_EQ(contents(path), QByteArray(100000, 'x'));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"week.pdf"});
}

TEST(WholeFileWrite, ATargetThatCannotBeWrittenIsReported) {
    QTemporaryDir dir;
    EXPECT_THROW(writeWholeFile(dir.path(), "x"), Failure);  // a folder
    EXPECT_THROW(writeWholeFile({}, "x"), Failure);
    const QString file = dir.filePath("plain");
    writeWholeFile(file, "keep");
    try {
        writeWholeFile(file + "/below.pdf", "x");  // below a regular file
        ADD_FAILURE() << "no failure";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("below.pdf"), std::string::npos) << e.what();
    }
    EXPECT_EQ(contents(file), QByteArray("keep"));
}

TEST(WholeFileWrite, AFullDiskKeepsTheOldFile) {
    if (geteuid() != 0) GTEST_SKIP() << "making a small file system needs root";
    QTemporaryDir dir;
    const QString mountPoint = dir.filePath("small");
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mountPoint}) != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const QString path = mountPoint + "/week.pdf";
    writeWholeFile(path, QByteArray(8000, 'o'));
    EXPECT_THROW(writeWholeFile(path, QByteArray(200000, 'n')), Failure);
    EXPECT_EQ(contents(path), QByteArray(8000, 'o'));
    EXPECT_EQ(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList{"week.pdf"});
    QProcess::execute("umount", {mountPoint});
}

}  // namespace
}  // namespace tallowby
