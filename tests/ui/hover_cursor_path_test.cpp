#include "ui/hover_cursor_path.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tallowby {
namespace {

// A prefix laid out like an installation: usr/bin and usr/share/tallowby.
class HoverCursorPath : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("usr/bin"));
        ASSERT_TRUE(QDir(root.path()).mkpath("usr/share/tallowby"));
        bin = root.filePath("usr/bin");
        shared = root.filePath("usr/share/tallowby/HAND-M.CUR");
    }
    static void touch(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir root;
    QString bin;
    QString shared;
};

TEST_F(HoverCursorPath, TheProgramFolderComesFirst) {
    touch(bin + "/HAND-M.CUR");
    touch(shared);
    EXPECT_EQ(hoverCursorPath(bin), bin + "/HAND-M.CUR");
}

TEST_F(HoverCursorPath, AnInstalledProgramFindsItsSharedData) {
    touch(shared);
    EXPECT_EQ(hoverCursorPath(bin), shared);
    // A trailing separator on the folder changes nothing.
    EXPECT_EQ(hoverCursorPath(bin + "/"), shared);
}

TEST_F(HoverCursorPath, WithNeitherFileTheProgramFolderPathIsGivenSoTheTestSaysNo) {
    EXPECT_EQ(hoverCursorPath(bin), bin + "/HAND-M.CUR");
    EXPECT_FALSE(QFile::exists(hoverCursorPath(bin)));
    // A folder of that name in share/tallowby is no cursor file.
    ASSERT_TRUE(QDir().mkpath(shared));
    EXPECT_EQ(hoverCursorPath(bin), bin + "/HAND-M.CUR");
}

}  // namespace
}  // namespace tallowby
