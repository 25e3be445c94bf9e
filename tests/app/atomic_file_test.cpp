#include "app/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "app/failure.h"
#include "app/settings_store.h"
#include "atomic_write_testing.h"
#include "tests/support/file_bytes.h"
#include "tests/support/full_disk.h"

namespace tallowby {
namespace {

using testing::failureText;
using testing::FaultyCalls;
using testing::readFile;
using testing::writePlain;

QByteArray pattern(qsizetype size) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

TEST(AtomicFile, FullDiskKeepsTheOldFileAndSaysSo) {
    testing::FullDisk disk;
    if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
    const QString target = disk.filePath("week.xls");
    const QByteArray old = pattern(20000);
    writePlain(target, old);
    ASSERT_EQ(disk.fill(), 0);

    // Bigger, same size and smaller than the old file: none fits beside it.
    for (const qsizetype size : {40000, 20000, 6000}) {
        const std::string why =
            failureText([&] { writeFileAtomically(target, pattern(size) + "new"); });
        EXPECT_NE(why.find("Cannot write " + target.toStdString()), std::string::npos) << why;
        EXPECT_NE(why.find(std::strerror(ENOSPC)), std::string::npos) << why;
        EXPECT_EQ(readFile(target), old) << size;
        EXPECT_EQ(disk.entries(), (QStringList{".filler", ".filler2", "week.xls"}));
    }
}

TEST(AtomicFile, FullDiskKeepsTheWholeSettingsStore) {
    testing::FullDisk disk;
    if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
    const QString path = disk.filePath("Marrowick.ini");
    {
        SettingsStore store(path);
        store.setValue("txtName", "ACME");
        store.setValue("Hours", QString(3000, 'h'));
    }
    const QByteArray before = readFile(path);
    ASSERT_EQ(disk.fill(), 0);
    SettingsStore store(path);
    EXPECT_THROW(store.setValue("txtCity", "Leek"), Failure);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(SettingsStore(path).value("txtName"), "ACME");
}

// Both ways of making the new file: anonymous until complete, and (where the
// file system has no anonymous files) a hidden file beside the target.
int noAnonymousFiles(const char*, int, mode_t) {
    return errno = EOPNOTSUPP, -1;
}

TEST(AtomicFile, EveryFailingStepLeavesTheTargetAndNoTemporaryFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath("out.bin");
    const QByteArray old("old bytes");
    const QByteArray fresh = pattern(100000);
    struct Case {
        const char* name;
        AtomicFileWriter::SystemCalls calls;
        const char* reason;
    };
    int writes = 0;
    const std::vector<Case> cases{
        {"write fails after a while",
         {.write = [&](int fd, const void* d, size_t n) -> ssize_t {
             if (++writes > 2) return errno = EIO, -1;
             return ::write(fd, d, std::min<size_t>(n, 4096));
         }},
         std::strerror(EIO)},
        {"device takes nothing more",
         {.write = [](int, const void*, size_t) -> ssize_t { return 0; }},
         std::strerror(ENOSPC)},
        {"write claims more than reached the file",
         {.write = [](int, const void*, size_t n) -> ssize_t { return static_cast<ssize_t>(n); }},
         "0 of 100000 bytes reached the disk"},
        {"flush to the disk fails",
         {.fsync = [](int) { return errno = ENOSPC, -1; }},
         std::strerror(ENOSPC)},
        {"rename fails",
         {.rename = [](const char*, const char*) { return errno = EXDEV, -1; }},
         std::strerror(EXDEV)},
        {"naming the new file fails",
         {.link = [](const char*, const char*) { return errno = EDQUOT, -1; }},
         std::strerror(EDQUOT)},
        {"the folder takes no new file",
         {.openAnonymous = [](const char*, int, mode_t) { return errno = EACCES, -1; }},
         std::strerror(EACCES)}};
    for (const bool anonymous : {true, false}) {
        for (Case c : cases) {
            writes = 0;
            writePlain(target, old);
            // A named new file is neither opened anonymously nor linked.
            if (!anonymous && (c.calls.openAnonymous || c.calls.link)) continue;
            if (!anonymous) c.calls.openAnonymous = noAnonymousFiles;
            FaultyCalls faulty(c.calls);
            const std::string why = failureText([&] { writeFileAtomically(target, fresh); });
            EXPECT_NE(why.find(c.reason), std::string::npos) << c.name << ": " << why;
            EXPECT_EQ(readFile(target), old) << c.name;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                      QStringList{"out.bin"})
                << c.name << (anonymous ? " (anonymous)" : " (named)");
        }
    }
}

TEST(AtomicFile, AnUnfinishedAnonymousFileHasNoNameButANamedOneHas) {
    QTemporaryDir dir;
    const QString target = dir.filePath("out.bin");
    const auto entries = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
    {
        AtomicFileWriter out(target);
        out.write(pattern(1000));
        EXPECT_TRUE(entries().isEmpty()) << entries().join(", ").toStdString();
        out.prepare();  // complete and named, not yet in place
        ASSERT_EQ(entries().size(), 1);
        EXPECT_TRUE(entries()[0].startsWith(".out.bin.")) << entries()[0].toStdString();
        out.publish();
    }
    EXPECT_EQ(entries(), QStringList{"out.bin"});
    EXPECT_EQ(readFile(target), pattern(1000));

    // Without anonymous files the new file is named from the start, and the
    // same bytes still arrive.
    FaultyCalls faulty({.openAnonymous = noAnonymousFiles});
    {
        AtomicFileWriter out(target);
        out.write("named");
        ASSERT_EQ(entries().size(), 2);
        out.commit();
    }
    EXPECT_EQ(entries(), QStringList{"out.bin"});
    EXPECT_EQ(readFile(target), "named");
}

TEST(AtomicFile, ShortAndInterruptedWritesStillGiveEveryByte) {
    QTemporaryDir dir;
    const QString target = dir.filePath("out.bin");
    int calls = 0;
    FaultyCalls faulty({.write = [&](int fd, const void* d, size_t n) -> ssize_t {
        if (++calls % 3 == 0) return errno = EINTR, -1;
        return ::write(fd, d, std::min<size_t>(n, 7));
    }});
    const QByteArray fresh = pattern(5000);
    writeFileAtomically(target, fresh);
    EXPECT_EQ(readFile(target), fresh);
    EXPECT_GT(calls, 5000 / 7);
}

// Files of this session only (the private temp folder) skip the flush to the
// disk, nothing else: still whole, still renamed into place.
TEST(AtomicFile, OnlyFilesOfTheSessionSkipTheFlushToTheDisk) {
    QTemporaryDir dir;
    const QString target = dir.filePath("out.bin");
    int flushes = 0;
    FaultyCalls counting({{}, [&](int fd) { return ++flushes, ::fsync(fd); }, {}});
    writePlain(target, "old");
    const QByteArray fresh = pattern(3000);
    AtomicFileWriter session(target, 0666, AtomicFileWriter::Flush::ForThisSessionOnly);
    session.write(fresh);
    session.commit();
    EXPECT_EQ(readFile(target), fresh);
    EXPECT_EQ(flushes, 0);
    writeFileAtomically(target, pattern(10));
    EXPECT_EQ(flushes, 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.bin"});
}

TEST(AtomicFile, PartsWrittenInTurnAndAnUncommittedWriterLeavesNothing) {
    QTemporaryDir dir;
    const QString target = dir.filePath("parts.bin");
    {
        AtomicFileWriter out(target);
        out.write("head-");
        out.write(QByteArray("body"));
        EXPECT_FALSE(QFile::exists(target));  // nothing shows before the commit
        out.commit();
    }
    EXPECT_EQ(readFile(target), "head-body");
    {
        AtomicFileWriter abandoned(target);
        abandoned.write("never committed");
    }
    EXPECT_EQ(readFile(target), "head-body");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"parts.bin"});
}

TEST(AtomicFile, PermissionsOfNewAndExistingFilesAndLinksFollowed) {
    QTemporaryDir dir;
    const mode_t old = ::umask(022);
    writeFileAtomically(dir.filePath("private"), "x", 0600);
    writeFileAtomically(dir.filePath("public"), "x");
    ::umask(old);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dir.filePath("private")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(dir.filePath("public")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath("public")).constData(), 0640), 0);
    writeFileAtomically(dir.filePath("public"), "y", 0600);
    ASSERT_EQ(::stat(QFile::encodeName(dir.filePath("public")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // Through a link the file it names gets the bytes; the link stays a link.
    ASSERT_TRUE(QFile::link(dir.filePath("public"), dir.filePath("link")));
    writeFileAtomically(dir.filePath("link"), "through the link");
    EXPECT_EQ(readFile(dir.filePath("public")), "through the link");
    EXPECT_TRUE(QFileInfo(dir.filePath("link")).isSymLink());
}

TEST(AtomicFile, SpecialFilesAreRefusedBeforeAnythingIsWritten) {
    QTemporaryDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    QDir().mkpath(dir.filePath("folder"));
    for (const auto& special :
         std::vector<std::pair<QString, std::string>>{{dir.filePath("fifo"), "it is a FIFO"},
                                                      {dir.filePath("folder"), "it is a folder"},
                                                      {"/dev/null", "it is a device"}}) {
        // A named copy: clang 14 cannot capture a structured binding.
        const QString& path = special.first;
        const std::string text = failureText([&] { writeFileAtomically(path, "x"); });
        EXPECT_NE(text.find(special.second), std::string::npos) << text;
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"fifo"});
}

TEST(AtomicFile, NewFilesLeftByAKilledWriterGoWithTheNextWriteAndNothingElseDoes) {
    QTemporaryDir dir;
    const QString target = dir.filePath("out.bin");
    const QStringList kept{".out.bin.XyZ123", ".out.bin.tallowby-Held01",
                           ".out.bin.tallowby-toolong1", ".other.bin.tallowby-Ab12Cd"};
    for (const QString& name : kept + QStringList{".out.bin.tallowby-Ab12Cd"})
        writePlain(dir.filePath(name), "left");
    // A writer that still runs holds its file.
    const int held =
        ::open(QFile::encodeName(dir.filePath(".out.bin.tallowby-Held01")).constData(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    writeFileAtomically(target, "new");
    ::close(held);
    EXPECT_EQ(readFile(target), "new");
    QStringList expected = kept + QStringList{"out.bin"};
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

}  // namespace
}  // namespace tallowby
