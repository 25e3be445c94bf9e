#include "app/settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/failure.h"

namespace tallowby {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Marrowick/Marrowick.ini"); }
};

TEST_F(SettingsStoreTest, AbsentKeysAndAbsentFileGiveTheDefault) {
    SettingsStore store(path());
    EXPECT_EQ(store.GetSetting("txtName", ""), "");
    EXPECT_EQ(store.GetSetting("TabSel", "0"), "0");
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
    for (int i = 0; i < values.size(); ++i) store.SaveSetting(QString("k%1").arg(i), values[i]);
    SettingsStore reopened(path());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(reopened.GetSetting(QString("k%1").arg(i), "default"), values[i]) << i;
}

TEST_F(SettingsStoreTest, ReplacingAValueKeepsOneLineForIt) {
    SettingsStore store(path());
    store.SaveSetting("txtName", "A");
    store.SaveSetting("txtName", "AB");
    store.SaveSetting("txtName", "ABC");
    EXPECT_EQ(store.GetSetting("txtName"), "ABC");
    EXPECT_EQ(readFile(path()), "[Tallowby]\ntxtName=ABC\n");
}

TEST_F(SettingsStoreTest, HandWrittenCommasAndOtherSectionsReadAsText) {
    QDir().mkpath(dir.filePath("Marrowick"));
    writeFile(path(),
              "; written by hand\r\n[Other]\ntxtName=wrong\n\n[Tallowby]\r\n"
              "txtCity = French Leek, IN \r\nRates=Regular^11.50|Overtime^12.70\n");
    SettingsStore store(path());
    EXPECT_EQ(store.GetSetting("txtCity"), "French Leek, IN");
    EXPECT_EQ(store.GetSetting("Rates"), "Regular^11.50|Overtime^12.70");
    EXPECT_EQ(store.GetSetting("txtName", "none"), "none");

    store.SaveSetting("txtName", "mine");
    SettingsStore other(path(), "Other");
    EXPECT_EQ(other.GetSetting("txtName"), "wrong");
    EXPECT_EQ(store.GetSetting("txtName"), "mine");
    EXPECT_TRUE(readFile(path()).startsWith("; written by hand\n[Other]\n"));
}

TEST_F(SettingsStoreTest, WritesLeaveNoTemporaryFilesBehind) {
    SettingsStore store(path());
    for (int i = 0; i < 20; ++i) store.SaveSetting("txtName", QString(i, 'x'));
    EXPECT_EQ(QDir(dir.filePath("Marrowick")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Marrowick.ini"});
}

TEST_F(SettingsStoreTest, UnreadableStoreIsAFailureNotADefault) {
    QDir().mkpath(path());  // a folder where the file should be
    SettingsStore store(path());
    EXPECT_THROW(store.GetSetting("txtName"), Failure);
    EXPECT_THROW(store.SaveSetting("txtName", "x"), Failure);
}

TEST_F(SettingsStoreTest, FolderThatCannotBeMadeIsAFailure) {
    writeFile(dir.filePath("Marrowick"), "a file where the folder should be");
    SettingsStore store(path());
    EXPECT_THROW(store.SaveSetting("txtName", "x"), Failure);
    EXPECT_EQ(store.GetSetting("txtName", "absent"), "absent");
}

TEST_F(SettingsStoreTest, DefaultPathIsInTheUsersConfigurationFolder) {
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(SettingsStore::defaultPath(), dir.filePath("Marrowick/Marrowick.ini"));
}

}  // namespace
}  // namespace tallowby
