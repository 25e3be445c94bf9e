#include "app/background_release.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/plain_file.h"

namespace tallowby {
namespace {

int openDescriptors() {
    return static_cast<int>(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size());
}

TEST(RemoveFileReleasingLater, NameGoesAtOnceAndNoDescriptorIsLeftBehind) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int before = openDescriptors();
    for (int i = 0; i < 20; ++i) {
        const QString path = dir.filePath(QStringLiteral("picture%1.bmp").arg(i));
        writeBinaryFile(QByteArray(100'000, 'p'), path);
        if (i % 2) QFile::setPermissions(path, QFileDevice::ReadOwner);  // no write right
        removeFileReleasingLater(path);
        EXPECT_FALSE(QFile::exists(path)) << i;
    }
    waitForFileReleases();
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(RemoveFileReleasingLater, MissingEmptyAndSpecialPathsDoNotBlockOrFail) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int before = openDescriptors();
    removeFileReleasingLater(QString());
    removeFileReleasingLater(dir.filePath("missing/file"));
    // Opening a FIFO for reading would wait for a writer.
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    removeFileReleasingLater(fifo);
    EXPECT_FALSE(QFileInfo::exists(fifo));
    // A symbolic link goes, not what it points to.
    const QString target = dir.filePath("target");
    writeBinaryFile("t", target);
    ASSERT_TRUE(QFile::link(target, dir.filePath("link")));
    removeFileReleasingLater(dir.filePath("link"));
    EXPECT_FALSE(QFileInfo(dir.filePath("link")).isSymLink());
    EXPECT_TRUE(QFile::exists(target));
    waitForFileReleases();
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace tallowby
