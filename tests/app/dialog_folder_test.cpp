#include "app/dialog_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/settings_store.h"

using tallowby::dialog_folder::folderOf;
using tallowby::dialog_folder::startFolder;

TEST(DialogFolder, FirstTheDocumentsFolderThenTheLastSavesFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString home = root.filePath("home");
    const QString documents = root.filePath("home/Documents");
    const QString elsewhere = root.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(documents));
    ASSERT_TRUE(QDir().mkpath(elsewhere));

    EXPECT_EQ(startFolder(QString(), documents, home), documents);
    const QString last = folderOf(elsewhere + "/week12.xls");
    EXPECT_EQ(last, elsewhere);
    EXPECT_EQ(startFolder(last, documents, home), elsewhere);
}

TEST(DialogFolder, HomeWhenTheDocumentsFolderDoesNotExist) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString home = root.path();
    EXPECT_EQ(startFolder(QString(), home + "/Documents", home), home);
    EXPECT_EQ(startFolder(QString(), QString(), home), home);
}

TEST(DialogFolder, ALastFolderRemovedSinceIsPassedOver) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString gone = root.filePath("gone");
    EXPECT_EQ(startFolder(gone, root.path(), "/"), root.path());
}

TEST(DialogFolder, TheFolderOfASavedFileIsAbsolute) {
    EXPECT_EQ(folderOf("/data/weeks/week12"), "/data/weeks");
    EXPECT_TRUE(QDir::isAbsolutePath(folderOf("relative/week12.xls")));
}

namespace {

// A remembered folder kept in a store file of its own.
struct StoredFolder : ::testing::Test {
    QTemporaryDir root;
    QString storePath() const { return root.filePath("store/Marrowick.ini"); }
};

}  // namespace

TEST_F(StoredFolder, OutlivesTheObjectAndTheStoreThatWroteIt) {
    ASSERT_TRUE(root.isValid());
    const QString weeks = root.filePath("weeks");
    ASSERT_TRUE(QDir().mkpath(weeks));
    {
        tallowby::SettingsStore store(storePath());
        tallowby::RememberedFolder folder(tallowby::dialog_folder::kPdfExportKey);
        folder.setStore(&store);
        folder.rememberFolderOf(weeks + "/Timesheet Ana 2021-08-30.pdf");
    }
    tallowby::SettingsStore reopened(storePath());
    tallowby::RememberedFolder again(tallowby::dialog_folder::kPdfExportKey);
    again.setStore(&reopened);
    EXPECT_EQ(again.last(), weeks);
    EXPECT_EQ(again.start(), weeks);
    // Each dialog has its own key: another one has remembered nothing.
    tallowby::RememberedFolder other(tallowby::dialog_folder::kSaveCopyKey);
    other.setStore(&reopened);
    EXPECT_EQ(other.last(), QString());
    EXPECT_EQ(reopened.value(tallowby::dialog_folder::kPdfExportKey), weeks);
}

TEST_F(StoredFolder, AStoredFolderRemovedSinceFallsBackToDocumentsThenHome) {
    ASSERT_TRUE(root.isValid());
    tallowby::SettingsStore store(storePath());
    store.setValue(tallowby::dialog_folder::kOpenTimesheetKey, root.filePath("gone"));
    tallowby::RememberedFolder folder(tallowby::dialog_folder::kOpenTimesheetKey);
    folder.setStore(&store);
    EXPECT_EQ(folder.start(), startFolder(root.filePath("gone")));
    EXPECT_NE(folder.start(), root.filePath("gone"));
}

TEST(RememberedFolder, WithoutAStoreItIsKeptWhileTheObjectLives) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    tallowby::RememberedFolder folder(tallowby::dialog_folder::kHoursImportKey);
    EXPECT_EQ(folder.last(), QString());
    folder.rememberFolderOf(root.filePath("hours.csv"));
    EXPECT_EQ(folder.start(), root.path());
}

TEST(RememberedFolder, AStoreThatCannotBeWrittenStillGivesTheFolderForThisRun) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    // A folder where the store's file should be: it is never written.
    ASSERT_TRUE(QDir().mkpath(root.filePath("store.ini")));
    tallowby::SettingsStore store(root.filePath("store.ini"));
    tallowby::RememberedFolder folder(tallowby::dialog_folder::kSaveTimesheetKey);
    folder.setStore(&store);
    folder.rememberFolderOf(root.filePath("a.ini"));
    EXPECT_EQ(folder.start(), root.path());
}
