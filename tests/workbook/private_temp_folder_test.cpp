#include "workbook/run/private_temp_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/program.h"
#include "tests/support/file_bytes.h"

namespace tallowby {
namespace {

using testing::readFile;

// Points TEMP at a fresh folder while alive.
struct ScopedTemp {
    ScopedTemp() : old(qgetenv("TEMP")) { qputenv("TEMP", base.path().toUtf8()); }
    ~ScopedTemp() { qputenv("TEMP", old); }
    QTemporaryDir base;
    QByteArray old;
};

TEST(PrivateTempFolder, IsOnlyForItsOwnerAndGoesAway) {
    QString path;
    {
        PrivateTempFolder folder;
        path = folder.createdAs();
        EXPECT_EQ(QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                                   QFileDevice::WriteOther | QFileDevice::ExeOther),
                  QFileDevice::Permissions());
        EXPECT_TRUE(folder.templateFile().endsWith("/template.xlt"));
        EXPECT_TRUE(folder.snapshotFile().endsWith("/temp.bmp"));
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(PrivateTempFolder, AFolderSwappedForALinkNeverLeadsOutside) {
    ScopedTemp temp;
    QTemporaryDir victim;
    program::writeBinaryFile("the victim's", QDir(victim.path()).filePath("template.xlt"));
    program::writeBinaryFile("also the victim's", QDir(victim.path()).filePath("temp.bmp"));
    const QString moved = temp.base.filePath("moved-away");
    QString swapped;
    {
        PrivateTempFolder folder;
        swapped = folder.createdAs();
        program::writeBinaryFile("ours before", folder.snapshotFile());
        // Another user renames our folder and puts a link to the victim there.
        ASSERT_TRUE(QDir().rename(swapped, moved));
        ASSERT_TRUE(QFile::link(victim.path(), swapped));

        program::writeBinaryFile("ours", folder.templateFile());
        program::removeFile(folder.snapshotFile());
        EXPECT_EQ(readFile(QDir(moved).filePath("template.xlt")), "ours");
        EXPECT_FALSE(QFile::exists(QDir(moved).filePath("temp.bmp")));
        EXPECT_TRUE(folder.stillThere());
    }
    // The clean-up emptied our folder where it is now and left the link alone.
    EXPECT_EQ(readFile(QDir(victim.path()).filePath("template.xlt")), "the victim's");
    EXPECT_EQ(readFile(QDir(victim.path()).filePath("temp.bmp")), "also the victim's");
    EXPECT_EQ(QDir(victim.path()).entryList(QDir::Files),
              (QStringList{"temp.bmp", "template.xlt"}));
    EXPECT_TRUE(QFileInfo(swapped).isSymLink());
    EXPECT_TRUE(QDir(moved).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(PrivateTempFolder, CleansUpEverythingInsideAndTheFolderItself) {
    ScopedTemp temp;
    QString created;
    {
        PrivateTempFolder folder;
        created = folder.createdAs();
        EXPECT_EQ(QFileInfo(folder.path()).canonicalFilePath(),
                  QFileInfo(created).canonicalFilePath());
        program::writeBinaryFile("x", folder.templateFile());
        QDir(folder.path()).mkpath("nested/deeper");
        program::writeBinaryFile("y", folder.path() + "/nested/deeper/file");
        ASSERT_TRUE(QFile::link(temp.base.path(), folder.path() + "/link-to-base"));
    }
    EXPECT_FALSE(QFileInfo::exists(created));
    EXPECT_EQ(QDir(temp.base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{});  // the link inside went, not what it pointed to
    EXPECT_TRUE(QFileInfo(temp.base.path()).isDir());
}

TEST(PrivateTempFolder, ARemovedFolderIsNoticedAndTheSessionMakesANewOne) {
    ScopedTemp temp;
    PrivateTempFolder& first = sessionTempFolder();
    const QString firstCreated = first.createdAs();
    ASSERT_TRUE(QDir(firstCreated).removeRecursively());
    EXPECT_FALSE(first.stillThere());
    PrivateTempFolder& again = sessionTempFolder();
    EXPECT_TRUE(again.stillThere());
    EXPECT_NE(again.createdAs(), firstCreated);
    program::writeBinaryFile("x", again.templateFile());
    EXPECT_TRUE(QFile::exists(again.createdAs() + "/template.xlt"));
}

}  // namespace
}  // namespace tallowby
