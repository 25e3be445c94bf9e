#include "app/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <utility>

#include "app/atomic_file.h"
#include "app/failure.h"
#include "tests/support/file_bytes.h"

namespace tallowby {
namespace {

using testing::readFile;

// What a store tells the user about its file, in order.
struct Notices {
    struct Message {
        QString text;
    };
    std::vector<Message> messages;
    void listenTo(SettingsStore& store) {
        store.setProblemNotice([this](const QString& text) { messages.push_back({text}); });
    }
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Marrowick/Marrowick.ini"); }
};

TEST_F(SettingsStoreTest, AbsentKeysAndAbsentFileGiveTheDefault) {
    SettingsStore store(path());
    EXPECT_EQ(store.value("txtName", ""), "");
    EXPECT_EQ(store.value("TabSel", "0"), "0");
    EXPECT_FALSE(QFile::exists(path()));  // reading never creates the file
}

TEST_F(SettingsStoreTest, EveryTextComesBackExactly) {
    const QStringList values{"ACME Inc",
                             "French Leek, IN",
                             "a,b,c",
                             "  leading and trailing  ",
                             "\"quoted\"",
                             "\"",
                             "semi;colon # hash = equals",
                             "back\\slash \\n not a newline",
                             "line one\nline two\r\nthree\ttab",
                             QString::fromUtf8("Zoë Łukasz 東京 €"),
                             "[Tallowby]",
                             "",
                             " ",
                             "Regular^11.50|Overtime^12.70"};
    SettingsStore store(path());
    for (int i = 0; i < values.size(); ++i) store.setValue(QString("k%1").arg(i), values[i]);
    SettingsStore reopened(path());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(reopened.value(QString("k%1").arg(i), "default"), values[i]) << i;
}

TEST_F(SettingsStoreTest, ReplacingAValueKeepsOneLineForIt) {
    SettingsStore store(path());
    store.setValue("txtName", "A");
    store.setValue("txtName", "AB");
    store.setValue("txtName", "ABC");
    EXPECT_EQ(store.value("txtName"), "ABC");
    EXPECT_EQ(readFile(path()), "[Tallowby]\ntxtName=ABC\n");
}

TEST_F(SettingsStoreTest, HandWrittenCommasAndOtherSectionsReadAsText) {
    QDir().mkpath(dir.filePath("Marrowick"));
    writeFile(path(),
              "; written by hand\r\n[Other]\ntxtName=wrong\n\n[Tallowby]\r\n"
              "txtCity = French Leek, IN \r\nRates=Regular^11.50|Overtime^12.70\n");
    SettingsStore store(path());
    EXPECT_EQ(store.value("txtCity"), "French Leek, IN");
    EXPECT_EQ(store.value("Rates"), "Regular^11.50|Overtime^12.70");
    EXPECT_EQ(store.value("txtName", "none"), "none");

    store.setValue("txtName", "mine");
    SettingsStore other(path(), "Other");
    EXPECT_EQ(other.value("txtName"), "wrong");
    EXPECT_EQ(store.value("txtName"), "mine");
    EXPECT_TRUE(readFile(path()).startsWith("; written by hand\n[Other]\n"));
}

TEST_F(SettingsStoreTest, WritesLeaveNoTemporaryFilesBehind) {
    SettingsStore store(path());
    for (int i = 0; i < 20; ++i) store.setValue("txtName", QString(i, 'x'));
    EXPECT_EQ(QDir(dir.filePath("Marrowick")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Marrowick.ini"});
}

TEST_F(SettingsStoreTest, UnusableStoreIsToldOnceAndNeverWrittenOver) {
    // A folder, a FIFO (read without waiting for a writer) and a path through
    // a file: each is told once, read as empty and never replaced.
    QDir().mkpath(dir.filePath("folder/Marrowick.ini"));
    QDir().mkpath(dir.filePath("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo/Marrowick.ini")).constData(), 0600), 0);
    writeFile(dir.filePath("file"), "a file where the folder should be");
    const QList<std::pair<QString, QString>> cases{
        {dir.filePath("folder/Marrowick.ini"), "it is a folder"},
        {dir.filePath("fifo/Marrowick.ini"), "it is a FIFO"},
        {dir.filePath("file/Marrowick.ini"), "Not a directory"}};
    for (const auto& [where, why] : cases) {
        Notices told;
        SettingsStore store(where);
        told.listenTo(store);
        EXPECT_EQ(store.value("txtName", "absent"), "absent") << where.toStdString();
        EXPECT_NO_THROW(store.setValue("txtName", "kept in memory"));
        EXPECT_EQ(store.value("txtName"), "kept in memory");
        store.setValue("Rates", "x");
        ASSERT_EQ(told.messages.size(), 1u) << where.toStdString();
        EXPECT_TRUE(told.messages[0].text.contains(why)) << told.messages[0].text.toStdString();
        EXPECT_TRUE(told.messages[0].text.contains(where));
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dir.filePath("fifo/Marrowick.ini")).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(QFileInfo(dir.filePath("folder/Marrowick.ini")).isDir());
    EXPECT_EQ(readFile(dir.filePath("file")), "a file where the folder should be");
}

TEST_F(SettingsStoreTest, NewStoreAndItsFolderAreForTheOwnerOnly) {
    const mode_t old = ::umask(022);
    SettingsStore store(dir.filePath("deep/Marrowick/Marrowick.ini"));
    store.setValue("Rates", "Regular^11.50");
    ::umask(old);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(store.path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    for (const char* folder : {"deep", "deep/Marrowick"}) {
        ASSERT_EQ(::stat(QFile::encodeName(dir.filePath(folder)).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
    // A store readable by others is for the owner only once it is written,
    // also when its link is what the store path names.
    writeFile(path(), "[Tallowby]\ntxtName=x\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0644), 0);
    SettingsStore(path()).setValue("txtName", "y");
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(QFile::link(path(), dir.filePath("link.ini")));
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0664), 0);
    SettingsStore(dir.filePath("link.ini")).setValue("txtName", "z");
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(QFileInfo(dir.filePath("link.ini")).isSymLink());
}

// The inode and modification time of a file: a rewrite through the atomic
// writer always gives a new inode.
std::pair<ino_t, qint64> identity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {0, 0};
    return {st.st_ino, static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

TEST_F(SettingsStoreTest, AWriteThatChangesNothingIsSkipped) {
    writeFile(path(), "; kept\n[Tallowby]\ntxtName=ACME\nRates=Regular^11.50\n");
    SettingsStore store(path());
    const auto before = identity(path());
    store.setValue("txtName", "ACME");
    store.setValues({{"Rates", "Regular^11.50"}, {"txtName", "ACME"}});
    EXPECT_EQ(identity(path()), before);
    // A real change is written, several values in one write.
    store.setValues({{"Rates", "Regular^12.00"}, {"Hours", "Mon^Regular^01:00^0^0"}});
    EXPECT_NE(identity(path()).first, before.first);
    EXPECT_EQ(
        readFile(path()),
        "; kept\n[Tallowby]\ntxtName=ACME\nRates=Regular^12.00\nHours=Mon^Regular^01:00^0^0\n");
}

TEST_F(SettingsStoreTest, AFailedWriteLeavesTheStoreBehindUntilAWriteSucceeds) {
    writeFile(path(), "[Tallowby]\ntxtName=old\n");
    SettingsStore store(path());
    EXPECT_FALSE(store.hasUnsavedChanges());
    {
        AtomicFileWriter::SystemCalls calls;
        calls.fsync = [](int) {
            errno = EIO;
            return -1;
        };
        AtomicFileWriter::setSystemCallsForTesting(&calls);
        EXPECT_THROW(store.setValue("txtName", "new"), Failure);
        AtomicFileWriter::setSystemCallsForTesting(nullptr);
    }
    EXPECT_TRUE(store.hasUnsavedChanges());
    EXPECT_EQ(readFile(path()), "[Tallowby]\ntxtName=old\n");
    // The same value again is not "unchanged": the file still lacks it.
    store.setValue("txtName", "new");
    EXPECT_FALSE(store.hasUnsavedChanges());
    EXPECT_EQ(readFile(path()), "[Tallowby]\ntxtName=new\n");
}

TEST_F(SettingsStoreTest, AStoreItNeverWritesHoldsUnsavedChanges) {
    ASSERT_TRUE(QDir().mkpath(path()));  // a folder where the file should be
    SettingsStore store(path());
    store.setProblemNotice([](const QString&) {});
    EXPECT_FALSE(store.hasUnsavedChanges());
    store.setValue("txtName", "typed");
    EXPECT_TRUE(store.hasUnsavedChanges());
}

TEST_F(SettingsStoreTest, OddShapesOfTheFileAreToldOnce) {
    struct Case {
        QByteArray file;
        QString told;  // part of the one notice; empty: no notice
        QString company;
    };
    const Case cases[] = {
        {"[Other]\ntxtName=elsewhere\n", "has no [Tallowby] section", ""},
        {"txtName=no section at all\n", "has no [Tallowby] section", ""},
        {"[Tallowby]\ntxtName=first\nRates=R^1\ntxtName=second\nRates=S^2\ntxtName=third\n",
         "gives txtName, Rates more than once", "first"},
        {"[Tallowby]\ntxtName=one\n[Other]\nx=1\n[Tallowby]\ntxtName=two\n",
         "gives txtName more than once", "one"},
        {"", "", ""},
        {"\n\n", "", ""},
        {"[Tallowby]\ntxtName=fine\n[Other]\ntxtName=same key, other section\n", "", "fine"},
    };
    for (const Case& c : cases) {
        writeFile(path(), c.file);
        SettingsStore store(path());
        Notices notices;
        notices.listenTo(store);
        EXPECT_EQ(store.value("txtName"), c.company) << c.file.toStdString();
        store.value("Rates");
        if (c.told.isEmpty()) {
            EXPECT_TRUE(notices.messages.empty()) << c.file.toStdString();
            continue;
        }
        ASSERT_EQ(notices.messages.size(), 1u) << c.file.toStdString();
        EXPECT_TRUE(notices.messages[0].text.contains(c.told))
            << notices.messages[0].text.toStdString();
        EXPECT_TRUE(notices.messages[0].text.contains(path()));
    }
    // A file without the section gets it at the first write; what was there stays.
    writeFile(path(), "[Other]\nx=1\n");
    SettingsStore store(path());
    store.setProblemNotice([](const QString&) {});
    store.setValue("txtName", "ACME");
    EXPECT_EQ(readFile(path()), "[Other]\nx=1\n\n[Tallowby]\ntxtName=ACME\n");
}

TEST_F(SettingsStoreTest, TheFileIsReadOnceAndKeptInMemory) {
    writeFile(path(), "[Tallowby]\ntxtName=first\n");
    SettingsStore store(path());
    EXPECT_EQ(store.value("txtName"), "first");
    writeFile(path(), "[Tallowby]\ntxtName=changed behind our back\n");
    EXPECT_EQ(store.value("txtName"), "first");
    QFile::remove(path());
    EXPECT_EQ(store.value("txtName"), "first");
    // A write puts the whole kept store back, not only the new value.
    store.setValue("txtCity", "Leek");
    EXPECT_EQ(readFile(path()), "[Tallowby]\ntxtName=first\ntxtCity=Leek\n");
}

TEST_F(SettingsStoreTest, DamagedStoreIsToldOnceAndKeptBesideTheNewOne) {
    const QByteArray utf16 =
        QByteArray("\xFF\xFE", 2) +
        QByteArray(reinterpret_cast<const char*>(u"[Tallowby]\r\ntxtName=ACME\r\n"), 2 * 25);
    const QList<std::pair<QByteArray, QString>> cases{
        {utf16, "UTF-16"},
        {QByteArray("[Tallowby]\rtxtName=ACME\rRates=Regular^11.50\r"), "carriage return"},
        {QByteArray("[Tallowby]\ntxtName=AC\xC3ME\n"), "not UTF-8"},
        {QByteArray("[Tallowby]\ntxtName=A\0B\n", 21), "NUL"},
        {QByteArray("<html>not a settings file</html>\n"), "line 1"}};
    const QString kept = path() + ".damaged-" + QDate::currentDate().toString(Qt::ISODate);
    for (const auto& [bytes, why] : cases) {
        QDir(dir.filePath("Marrowick")).removeRecursively();
        QDir().mkpath(dir.filePath("Marrowick"));
        writeFile(path(), bytes);
        Notices told;
        SettingsStore store(path());
        told.listenTo(store);
        EXPECT_EQ(store.value("txtName", "default"), "default") << why.toStdString();
        EXPECT_EQ(store.value("Rates", "default"), "default");
        EXPECT_EQ(readFile(path()), bytes);  // reading leaves it alone
        EXPECT_FALSE(QFile::exists(kept));
        store.setValue("txtCity", "Leek");
        store.setValue("txtPhone", "1");
        EXPECT_EQ(readFile(kept), bytes) << why.toStdString();
        EXPECT_EQ(readFile(path()), "[Tallowby]\ntxtCity=Leek\ntxtPhone=1\n");
        ASSERT_EQ(told.messages.size(), 1u);
        EXPECT_TRUE(told.messages[0].text.contains(why)) << told.messages[0].text.toStdString();
        EXPECT_TRUE(told.messages[0].text.contains(kept));
    }
    // A second damaged store on the same day does not replace the first one kept.
    writeFile(path(), QByteArray("\xFF\xFEx", 3));
    Notices told;
    SettingsStore again(path());
    told.listenTo(again);
    again.setValue("txtName", "x");
    EXPECT_EQ(readFile(kept + "-2"), QByteArray("\xFF\xFEx", 3));
    EXPECT_TRUE(QFile::exists(kept));
}

TEST_F(SettingsStoreTest, ByteOrderMarkCommentsAndWindowsLineEndsAreText) {
    writeFile(path(), "\xEF\xBB\xBF; made by hand\r\n[Tallowby]\r\ntxtName=ACME\r\n\r\n");
    Notices told;
    SettingsStore store(path());
    told.listenTo(store);
    EXPECT_EQ(store.value("txtName"), "ACME");
    EXPECT_TRUE(told.messages.empty());
}

TEST_F(SettingsStoreTest, DefaultPathIsInTheUsersConfigurationFolder) {
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(SettingsStore::defaultPath(), dir.filePath("Marrowick/Marrowick.ini"));
}

// A big value is read in pieces of its UTF-8 bytes, which join to the value.
TEST_F(SettingsStoreTest, AValueReadInPiecesIsTheValue) {
    QString big;
    for (int i = 0; i < 30000; ++i)
        big += QString::fromUtf8("Tag \xC3\xA4 %1\\|tab\there\n\"q\"^").arg(i);
    const QStringList values{big, " padded ", "\"", "C:\\temp\\", "plain"};
    {
        SettingsStore store(path());
        for (int i = 0; i < values.size(); ++i) store.setValue(QString("k%1").arg(i), values[i]);
    }
    SettingsStore store(path());
    for (int i = 0; i < values.size(); ++i) {
        QByteArray joined;
        int pieces = 0;
        EXPECT_TRUE(store.readValueInPieces(QString("k%1").arg(i), [&](QByteArrayView piece) {
            EXPECT_LE(piece.size(), 64 * 1024);
            joined += piece;
            ++pieces;
        }));
        EXPECT_EQ(QString::fromUtf8(joined), values[i]) << i;
        if (i == 0) {
            EXPECT_GT(pieces, 1);
        }
    }
    bool called = false;
    EXPECT_FALSE(store.readValueInPieces("absent", [&](QByteArrayView) { called = true; }));
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace tallowby
