#include "workbook/run/private_temp_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>
#include <thread>
#include <vector>

#include "app/plain_file.h"
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
    writeBinaryFile("the victim's", QDir(victim.path()).filePath("template.xlt"));
    writeBinaryFile("also the victim's", QDir(victim.path()).filePath("temp.bmp"));
    const QString moved = temp.base.filePath("moved-away");
    QString swapped;
    {
        PrivateTempFolder folder;
        swapped = folder.createdAs();
        writeBinaryFile("ours before", folder.snapshotFile());
        // Another user renames our folder and puts a link to the victim there.
        ASSERT_TRUE(QDir().rename(swapped, moved));
        ASSERT_TRUE(QFile::link(victim.path(), swapped));

        writeBinaryFile("ours", folder.templateFile());
        removeFile(folder.snapshotFile());
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
        writeBinaryFile("x", folder.templateFile());
        QDir(folder.path()).mkpath("nested/deeper");
        writeBinaryFile("y", folder.path() + "/nested/deeper/file");
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
    writeBinaryFile("x", again.templateFile());
    EXPECT_TRUE(QFile::exists(again.createdAs() + "/template.xlt"));
}

// A folder as a run of the program leaves it when it is killed.
QString leftFolder(const QString& base, const QString& name, mode_t mode = 0700) {
    const QString path = QDir(base).filePath(name);
    EXPECT_TRUE(QDir().mkpath(path + "/sub"));
    writeBinaryFile("left", QDir(path).filePath("kovlar12345678.xls"));
    writeBinaryFile("left", QDir(path).filePath("sub/inner.bin"));
    EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    return path;
}

TEST(PrivateTempFolder, FoldersOfEndedRunsGoAtTheNextStartAndNothingElseDoes) {
    ScopedTemp temp;
    const QString base = temp.base.path();
    const QString ended = leftFolder(base, "tallowby-Ab12Cd");
    const QString running = leftFolder(base, "tallowby-LiVe01");
    // Another program holds the lock of a run that still goes on.
    const int held = ::open(QFile::encodeName(running).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Not ours: a wrong mode, another user, a name of another length, a plain
    // file and a link with our kind of name.
    const QString open = leftFolder(base, "tallowby-0pen00", 0755);
    // (Only root can give a folder away; others see it kept for its lock.)
    const QString foreign = leftFolder(base, "tallowby-0ther0");
    const int othersHold = ::open(QFile::encodeName(foreign).constData(), O_RDONLY | O_DIRECTORY);
    if (::geteuid() == 0)
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 4242, 4242), 0);
    else
        ASSERT_EQ(::flock(othersHold, LOCK_EX), 0);
    const QString longer = leftFolder(base, "tallowby-longer-name");
    writeBinaryFile("a file", QDir(base).filePath("tallowby-File00"));
    QTemporaryDir elsewhere;
    writeBinaryFile("kept", QDir(elsewhere.path()).filePath("kept.txt"));
    ASSERT_TRUE(QFile::link(elsewhere.path(), QDir(base).filePath("tallowby-L1nk00")));
    ::chmod(QFile::encodeName(elsewhere.path()).constData(), 0700);

    {
        PrivateTempFolder folder;
        EXPECT_FALSE(QFileInfo::exists(ended));
        EXPECT_TRUE(QFileInfo::exists(running + "/sub/inner.bin"));
        EXPECT_TRUE(QFileInfo::exists(open + "/sub/inner.bin"));
        EXPECT_TRUE(QFileInfo::exists(foreign + "/sub/inner.bin"));
        EXPECT_TRUE(QFileInfo::exists(longer + "/sub/inner.bin"));
        EXPECT_EQ(readFile(QDir(base).filePath("tallowby-File00")), "a file");
        EXPECT_EQ(readFile(QDir(elsewhere.path()).filePath("kept.txt")), "kept");

        // Our own folder is held while we live: another start leaves it.
        PrivateTempFolder second;
        EXPECT_TRUE(QFileInfo(folder.createdAs()).isDir());
    }
    ::close(held);
    // Once the run that held it has ended, its folder goes too.
    { PrivateTempFolder folder; }
    EXPECT_FALSE(QFileInfo::exists(running));
    EXPECT_EQ(
        QDir(base).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
        (QStringList{"tallowby-0pen00", "tallowby-0ther0", "tallowby-File00", "tallowby-L1nk00",
                     "tallowby-longer-name"}));
    ::close(othersHold);
}

// Many runs starting at once (a batch's workers): each start sweeps the
// unlocked folders beside its own, which a start next to it may just have
// made and not yet locked. That start must make another, never fail.
TEST(PrivateTempFolder, RunsStartingTogetherNeverTakeEachOthersFolders) {
    ScopedTemp temp;
    std::atomic<int> failures{0};
    std::vector<std::thread> starts;
    for (int t = 0; t < 4; ++t)
        starts.emplace_back([&failures] {
            for (int i = 0; i < 1500; ++i) {
                try {
                    PrivateTempFolder folder;
                } catch (const std::exception&) {
                    ++failures;
                }
            }
        });
    for (std::thread& start : starts) start.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_TRUE(
        QDir(temp.base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

}  // namespace
}  // namespace tallowby
