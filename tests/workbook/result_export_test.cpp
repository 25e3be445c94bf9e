#include "workbook/automation/result_export.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>

#include "app/error_report.h"
#include "workbook/run/template_resource.h"

namespace tallowby {
namespace {

class SnapshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.filePath("book.xlt");
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(templateBytes());
    }
    QTemporaryDir dir;
    QString path;
    std::vector<StatementFailure> failures;
    FailureSink report = [this](const StatementFailure& f) { failures.push_back(f); };
    QList<int> reportedLines() const {
        QList<int> lines;
        for (const StatementFailure& f : failures) lines << f.line;
        return lines;
    }
};

TEST_F(SnapshotTest, DrawsTheUsedRangeOfTheActiveSheetToABitmap) {
    auto app = automation::openInNewEngine(path);
    ASSERT_EQ(app->Workbooks().count(), 1);
    EXPECT_FALSE(app->Workbooks()(1).ReadOnly());
    const QString picture = dir.filePath("temp.bmp");
    automation::saveCellsActivesheet(&app->Workbooks()(1), picture, report);
    EXPECT_TRUE(failures.empty());
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), QByteArray("BM"));
    const QImage image(picture);
    EXPECT_GE(image.width(), 500);
    EXPECT_LE(image.width(), 800);
}

TEST_F(SnapshotTest, WritesNoFileWhenAllThatIsUsedLiesInRowOneOrColumnA) {
    auto app = automation::openInNewEngine(path);
    automation::Workbook& book = app->Workbooks()(1);
    engine::Sheet& sheet = book.ActiveSheet().sheet();
    const QString picture = dir.filePath("temp.bmp");

    sheet = engine::Sheet{};  // all cleared
    sheet.at(0, 0).value = engine::CellValue::fromText("A1");
    sheet.at(0, 5).value = engine::CellValue::fromText("F1");
    automation::saveCellsActivesheet(&book, picture, report);
    EXPECT_FALSE(QFile::exists(picture));

    sheet = engine::Sheet{};
    sheet.at(9, 0).value = engine::CellValue::fromNumber(1);
    automation::saveCellsActivesheet(&book, picture, report);
    EXPECT_FALSE(QFile::exists(picture));
    EXPECT_TRUE(failures.empty());
}

TEST_F(SnapshotTest, FailuresAreReportedWithTheirStatementNumbers) {
    automation::saveCellsActivesheet(nullptr, dir.filePath("temp.bmp"), report);
    // No workbook: the sheet (100), its rows (102) and columns (104) fail; the
    // size test then finds nothing used, so no picture is attempted.
    EXPECT_EQ(reportedLines(), (QList<int>{100, 102, 104}));
    EXPECT_TRUE(
        error_report::text(failures[0]).contains("Excel1.saveCellsActivesheet at line 100"));
}

}  // namespace
}  // namespace tallowby
