#include "preview/save_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using tallowby::preview::folderOfSavedFile;
using tallowby::preview::saveDialogFolder;

TEST(SaveFolder, FirstTheDocumentsFolderThenTheLastSavesFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString home = root.filePath("home");
    const QString documents = root.filePath("home/Documents");
    const QString elsewhere = root.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(documents));
    ASSERT_TRUE(QDir().mkpath(elsewhere));

    EXPECT_EQ(saveDialogFolder(QString(), documents, home), documents);
    const QString last = folderOfSavedFile(elsewhere + "/week12.xls");
    EXPECT_EQ(last, elsewhere);
    EXPECT_EQ(saveDialogFolder(last, documents, home), elsewhere);
}

TEST(SaveFolder, HomeWhenTheDocumentsFolderDoesNotExist) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString home = root.path();
    EXPECT_EQ(saveDialogFolder(QString(), home + "/Documents", home), home);
    EXPECT_EQ(saveDialogFolder(QString(), QString(), home), home);
}

TEST(SaveFolder, ALastFolderRemovedSinceIsPassedOver) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString gone = root.filePath("gone");
    EXPECT_EQ(saveDialogFolder(gone, root.path(), "/"), root.path());
}

TEST(SaveFolder, TheFolderOfASavedFileIsAbsolute) {
    EXPECT_EQ(folderOfSavedFile("/data/weeks/week12"), "/data/weeks");
    EXPECT_TRUE(QDir::isAbsolutePath(folderOfSavedFile("relative/week12.xls")));
}
