#include "app/program.h"

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
    EXPECT_FALSE(program::fileExists(dir.filePath("no-such-folder/file.txt")));
    EXPECT_FALSE(program::fileExists(dir.filePath("absent.txt")));
    EXPECT_FALSE(program::fileExists(QString()));
    EXPECT_TRUE(program::fileExists(dir.path()));  // a folder counts
    program::writeBinaryFile("x", dir.filePath("present.txt"));
    EXPECT_TRUE(program::fileExists(dir.filePath("present.txt")));
}

TEST(RemoveFile, RemovesFilesReadOnlyOnesTooAndIgnoresMissing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bin");
    program::writeBinaryFile("abc", path);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    program::removeFile(path);
    EXPECT_FALSE(QFile::exists(path));
    program::removeFile(path);  // already gone: nothing happens, nothing thrown
    program::removeFile(dir.filePath("missing/folder/file"));
}

TEST(WriteBinaryFile, ShorterWriteLeavesExactlyTheNewBytes) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bin");
    program::writeBinaryFile(QByteArray(20, 'o'), path);
    ASSERT_EQ(QFileInfo(path).size(), 20);
    const QByteArray fresh("0123456789");
    program::writeBinaryFile(fresh, path);
    EXPECT_EQ(readAll(path), fresh);
}

TEST(WriteBinaryFile, KeepsEveryByteValueAndCreatesTheFile) {
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
    program::writeBinaryFile(bytes, dir.filePath("all.bin"));
    EXPECT_EQ(readAll(dir.filePath("all.bin")), bytes);
    program::writeBinaryFile(QByteArray(), dir.filePath("all.bin"));
    EXPECT_EQ(QFileInfo(dir.filePath("all.bin")).size(), 0);
}

TEST(WriteBinaryFile, UnwritablePathThrowsWithTheReason) {
    QTemporaryDir dir;
    try {
        program::writeBinaryFile("x", dir.filePath("no-such-folder/out.bin"));
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_NE(QString::fromUtf8(f.what()).indexOf("no-such-folder"), -1);
    }
}

TEST(AppTitle, ShortNamesStayLongOnesAreCutAtTheirLastBlanks) {
    EXPECT_EQ(program::appTitleFrom("Tallowby"), "Tallowby");
    const QString forty(40, QLatin1Char('x'));
    EXPECT_EQ(program::appTitleFrom(forty), forty);
    EXPECT_EQ(program::appTitleFrom("Tallowby Weekly Employee Timesheet Maker Deluxe Edition"),
              "Tallowby Weekly Employee Timesheet Maker");
    // No blank to cut at: the first 40 characters.
    EXPECT_EQ(program::appTitleFrom(QString(50, QLatin1Char('y'))), QString(40, QLatin1Char('y')));
}

TEST(AppTitle, SetAppTitleGivesTheProductName) {
    program::setAppTitle();
    EXPECT_EQ(program::appTitle(), "Tallowby");
}

TEST(MaybeOpenHomePage, OnlyTheDrawOfSevenOpensTheHomePage) {
    testing::ScriptedPrompter prompter;
    QStringList launched;
    for (int n = 1; n <= 100; ++n)
        program::maybeOpenHomePage({[n] { return n; }, [&](const QString& a) { launched << a; }});
    ASSERT_EQ(launched.size(), 1);
    EXPECT_EQ(launched[0], QString::fromUtf8(build::kHomePage));
    EXPECT_TRUE(launched[0].endsWith('/'));
    EXPECT_TRUE(prompter.openedUrls.empty());
}

TEST(MaybeOpenHomePage, DefaultLauncherGoesThroughThePrompter) {
    testing::ScriptedPrompter prompter;
    program::maybeOpenHomePage({[] { return 7; }, nullptr});
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
    program::usePlainColours(&window);
    const QColor face = window.palette().color(QPalette::Button);
    EXPECT_EQ(window.palette().color(QPalette::Window), face);
    EXPECT_EQ(frame->palette().color(QPalette::Window), face);
    EXPECT_EQ(label->palette().color(QPalette::Window), face);
    EXPECT_EQ(check->palette().color(QPalette::Window), face);
    EXPECT_EQ(edit->palette().color(QPalette::Window), QColor(Qt::white));
    program::usePlainColours(nullptr);
}

}  // namespace
}  // namespace tallowby
