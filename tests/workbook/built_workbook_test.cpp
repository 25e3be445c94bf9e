// A workbook built in code through the facade, saved and opened again.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/failure.h"
#include "workbook/automation/application.h"
#include "workbook/automation/engine_calls.h"

namespace tallowby::automation {
namespace {

class BuiltWorkbookTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QTemporaryDir dir;
    Application app;
};

TEST_F(BuiltWorkbookTest, NumbersFormatsAndSumFormulasSurviveASaveWithTheirResults) {
    Workbook& book = app.Workbooks().Add();
    book.Worksheets(1).setName("Summary");
    app.Cells(1, 1).setText("Hours");
    app.Cells(1, 1).setBold(true);
    app.Cells(2, 1).setNumber(0.5);
    app.Cells(3, 1).setNumber(0.25);
    app.Cells(2, 2).setNumber(12.5);
    app.Cells(4, 1).setSumFormula(2, 1, 3, 2);
    app.Cells(4, 1).setNumberFormat("[h]:mm");
    app.Cells(2, 1).setNumberFormat("[h]:mm");
    book.Worksheets(1).setColumnWidth(1, 20);
    const QString path = dir.filePath("built.xls");
    book.SaveAs(path, kXlsFormat);

    Application reader;
    Workbook& back = reader.Workbooks().Open(path, true);
    EXPECT_EQ(back.Worksheets(1).Name(), "Summary");
    EXPECT_EQ(reader.Cells(1, 1).text(), "Hours");
    EXPECT_FALSE(reader.Cells(1, 1).number());
    EXPECT_EQ(reader.Cells(4, 1).number(), 13.25);  // the cached result, written recalculated
    EXPECT_FALSE(reader.Cells(9, 9).number());
    const engine::Workbook& model = back.model();
    const engine::Sheet& sheet = model.sheets.at(0);
    const engine::Cell* total = sheet.find(3, 0);
    ASSERT_TRUE(total && total->hasFormula());
    EXPECT_EQ(model.formatCode(model.xf(total->xf).format), "[h]:mm");
    EXPECT_EQ(model.formatCode(model.xf(sheet.find(2, 0)->xf).format), "General");
    EXPECT_TRUE(model.font(model.xf(sheet.find(0, 0)->xf).font).bold());
    EXPECT_FALSE(model.font(model.xf(sheet.find(1, 0)->xf).font).bold());
    ASSERT_EQ(sheet.columns.size(), 1u);
    EXPECT_EQ(sheet.columns[0].width, 20 * 256 + 182);
}

TEST_F(BuiltWorkbookTest, AColumnWidthSplitsTheRunOfColumnsItFallsIn) {
    app.Workbooks().Add();
    Worksheet& sheet = app.ActiveWorkbook().Worksheets(1);
    engine::ColumnInfo run;
    run.firstCol = 1;
    run.lastCol = 5;
    run.width = 3000;
    sheet.sheet().columns = {run};
    sheet.setColumnWidth(4, 10);  // column D, index 3
    const auto& columns = sheet.sheet().columns;
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(std::tie(columns[0].firstCol, columns[0].lastCol, columns[0].width),
              std::make_tuple(uint16_t(1), uint16_t(2), uint16_t(3000)));
    EXPECT_EQ(std::tie(columns[1].firstCol, columns[1].lastCol),
              std::make_tuple(uint16_t(3), uint16_t(3)));
    EXPECT_EQ(std::tie(columns[2].firstCol, columns[2].lastCol, columns[2].width),
              std::make_tuple(uint16_t(4), uint16_t(5), uint16_t(3000)));
}

TEST_F(BuiltWorkbookTest, RefusesWhatASheetCannotHold) {
    app.Workbooks().Add();
    Worksheet& sheet = app.ActiveWorkbook().Worksheets(1);
    EXPECT_THROW(sheet.setName("a/b"), Failure);
    EXPECT_THROW(sheet.setName(QString(32, 'x')), Failure);
    EXPECT_THROW(sheet.setColumnWidth(257, 10), Failure);
    EXPECT_THROW(sheet.setColumnWidth(1, 300), Failure);
    EXPECT_THROW(app.Cells(1, 1).setSumFormula(3, 1, 2, 1), Failure);
    EXPECT_THROW(app.Cells(1, 1).setNumber(std::numeric_limits<double>::infinity()), Failure);
    EXPECT_THROW(app.Cells(1, 1).setNumberFormat(""), Failure);
}

}  // namespace
}  // namespace tallowby::automation
