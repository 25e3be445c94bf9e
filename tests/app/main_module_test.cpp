#include "app/main_module.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

#include "app/build_config.h"
#include "app/failure.h"
#include "tests/app/qt_application.h"
#include "tests/app/scripted_prompter.h"

namespace tallowby {
namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(FileExists, MissingFolderFileAndFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(Main::FileExists(dir.filePath("no-such-folder/file.txt")));
    EXPECT_FALSE(Main::FileExists(dir.filePath("absent.txt")));
    EXPECT_FALSE(Main::FileExists(QString()));
    EXPECT_TRUE(Main::FileExists(dir.path()));  // a folder counts
    Main::WriteBinaryFile("x", dir.filePath("present.txt"));
    EXPECT_TRUE(Main::FileExists(dir.filePath("present.txt")));
}

TEST(RemoveFile, RemovesFilesReadOnlyOnesTooAndIgnoresMissing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bin");
    Main::WriteBinaryFile("abc", path);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    Main::RemoveFile(path);
    EXPECT_FALSE(QFile::exists(path));
    Main::RemoveFile(path);  // already gone: nothing happens, nothing thrown
    Main::RemoveFile(dir.filePath("missing/folder/file"));
}

TEST(WriteBinaryFile, ShorterWriteLeavesExactlyTheNewBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bin");
    Main::WriteBinaryFile(QByteArray(20, 'o'), path);
    ASSERT_EQ(QFileInfo(path).size(), 20);
    const QByteArray fresh("0123456789");
    Main::WriteBinaryFile(fresh, path);
    EXPECT_EQ(readAll(path), fresh);
}

TEST(WriteBinaryFile, KeepsEveryByteValueAndCreatesTheFile) {
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
    Main::WriteBinaryFile(bytes, dir.filePath("all.bin"));
    EXPECT_EQ(readAll(dir.filePath("all.bin")), bytes);
    Main::WriteBinaryFile(QByteArray(), dir.filePath("all.bin"));
    EXPECT_EQ(QFileInfo(dir.filePath("all.bin")).size(), 0);
}

TEST(WriteBinaryFile, UnwritablePathThrowsWithTheReason) {
    QTemporaryDir dir;
    try {
        Main::WriteBinaryFile("x", dir.filePath("no-such-folder/out.bin"));
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_NE(QString::fromUtf8(f.what()).indexOf("no-such-folder"), -1);
    }
}

TEST(AppTitle, ShortNamesStayLongOnesAreCutAtTheirLastBlanks) {
    EXPECT_EQ(Main::AppTitleFrom("Tallowby"), "Tallowby");
    const QString forty(40, QLatin1Char('x'));
    EXPECT_EQ(Main::AppTitleFrom(forty), forty);
    EXPECT_EQ(Main::AppTitleFrom("Tallowby Weekly Employee Timesheet Maker Deluxe Edition"),
              "Tallowby Weekly Employee Timesheet Maker");
    // No blank to cut at: the first 40 characters.
    EXPECT_EQ(Main::AppTitleFrom(QString(50, QLatin1Char('y'))), QString(40, QLatin1Char('y')));
}

TEST(AppTitle, SetAppTitleGivesTheProductName) {
    Main::SetAppTitle();
    EXPECT_EQ(Main::AppTitle(), "Tallowby");
}

TEST(MaybeOpenHomePage, OnlyTheDrawOfSevenOpensTheHomePage) {
    testing::ScriptedPrompter prompter;
    QStringList launched;
    for (int n = 1; n <= 100; ++n)
        Main::MaybeOpenHomePage({[n] { return n; }, [&](const QString& a) { launched << a; }});
    ASSERT_EQ(launched.size(), 1);
    EXPECT_EQ(launched[0], QString::fromUtf8(build::kHomePage));
    EXPECT_TRUE(launched[0].endsWith('/'));
    EXPECT_TRUE(prompter.openedUrls.empty());
}

TEST(MaybeOpenHomePage, DefaultLauncherGoesThroughThePrompter) {
    testing::ScriptedPrompter prompter;
    Main::MaybeOpenHomePage({[] { return 7; }, nullptr});
    ASSERT_EQ(prompter.openedUrls.size(), 1u);
    EXPECT_EQ(prompter.openedUrls[0].toString(), QString::fromUtf8(build::kHomePage));
}

TEST(UsePlainColours, FramesLabelsAndCheckBoxesButNotFields) {
    testing::qtApplication();
    QWidget window;
    auto* frame = new QGroupBox(&window);
    auto* label = new QLabel(frame);
    auto* check = new QCheckBox(&window);
    auto* edit = new QLineEdit(&window);
    QPalette white = edit->palette();
    white.setColor(QPalette::Window, Qt::white);
    edit->setPalette(white);
    window.setPalette(white);
    Main::UsePlainColours(&window);
    const QColor face = window.palette().color(QPalette::Button);
    EXPECT_EQ(window.palette().color(QPalette::Window), face);
    EXPECT_EQ(frame->palette().color(QPalette::Window), face);
    EXPECT_EQ(label->palette().color(QPalette::Window), face);
    EXPECT_EQ(check->palette().color(QPalette::Window), face);
    EXPECT_EQ(edit->palette().color(QPalette::Window), QColor(Qt::white));
    Main::UsePlainColours(nullptr);
}

}  // namespace
}  // namespace tallowby
