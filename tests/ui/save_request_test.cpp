#include "ui/save_request.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tallowby;

TEST(SaveRequest, ANameWithoutExtensionTakesTheFiltersOne) {
    const QString xls = QStringLiteral("Excel Files (*.xls)");
    EXPECT_EQ(save_request::withDefaultSuffix("/home/a/week1", xls), QString("/home/a/week1.xls"));
    EXPECT_EQ(save_request::withDefaultSuffix("/home/a/week1.", xls), QString("/home/a/week1.xls"));
    EXPECT_EQ(save_request::withDefaultSuffix("/home/a/week1.xls", xls),
              QString("/home/a/week1.xls"));
    EXPECT_EQ(save_request::withDefaultSuffix("/home/a/week1.bak", xls),
              QString("/home/a/week1.bak"));
    // A dot in a folder's name is no extension of the file.
    EXPECT_EQ(save_request::withDefaultSuffix("/home/a.b/week1", xls),
              QString("/home/a.b/week1.xls"));
    EXPECT_EQ(save_request::withDefaultSuffix("/home/a/book", "Excel Workbook (*.xlsx)"),
              QString("/home/a/book.xlsx"));
    EXPECT_EQ(save_request::withDefaultSuffix("", xls), QString());
    EXPECT_EQ(save_request::withDefaultSuffix("/home/a/x", "All Files (*)"), QString("/home/a/x"));
}

TEST(SaveRequest, FiltersInTheOlderDialogsForm) {
    EXPECT_EQ(save_request::pipeFilter({"Excel Files (*.xls)"}),
              QString("Excel Files (*.xls)|*.xls|"));
    EXPECT_EQ(save_request::pipeFilter({"Excel Files (*.xls)", "Excel Workbook (*.xlsx)"}),
              QString("Excel Files (*.xls)|*.xls|Excel Workbook (*.xlsx)|*.xlsx|"));
}

TEST(SaveRequest, TheStartIsTheSuggestedNameInTheFolder) {
    SaveRequest r;
    r.folder = "/home/a/Documents";
    EXPECT_EQ(save_request::startPath(r), QString("/home/a/Documents"));
    r.suggestedName = "Timesheet.xls";
    EXPECT_EQ(save_request::startPath(r), QString("/home/a/Documents/Timesheet.xls"));
}

TEST(SaveRequest, AnExistingTargetIsKeptOnlyWhenTheUserAgrees) {
    QTemporaryDir dir;
    QFile existing(dir.filePath("old.xls"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    SaveRequest r;
    r.filters = {"Excel Files (*.xls)"};
    QStringList asked;
    bool answer = false;
    r.confirmOverwrite = [&](QWidget*, const QString& target) {
        asked << target;
        return answer;
    };
    EXPECT_EQ(save_request::confirmedTarget(nullptr, r, dir.filePath("old")), QString());
    answer = true;
    EXPECT_EQ(save_request::confirmedTarget(nullptr, r, dir.filePath("old")),
              dir.filePath("old.xls"));
    EXPECT_EQ(asked, (QStringList{dir.filePath("old.xls"), dir.filePath("old.xls")}));
    // A new name is not asked about; nothing chosen stays nothing.
    EXPECT_EQ(save_request::confirmedTarget(nullptr, r, dir.filePath("new")),
              dir.filePath("new.xls"));
    EXPECT_EQ(save_request::confirmedTarget(nullptr, r, QString()), QString());
    EXPECT_EQ(asked.size(), 2);
}
