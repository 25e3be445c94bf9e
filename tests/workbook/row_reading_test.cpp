// Reading a sheet's rows in one walk, against reading it cell by cell.
#include <gtest/gtest.h>

#include <QDate>

#include "app/failure.h"
#include "workbook/automation/application.h"

namespace tallowby::automation {
namespace {

// A sheet with empty rows, cells beyond the columns read, every kind of
// value, and cells set in no particular order.
void fill(Application& app) {
    app.Workbooks().Add();
    app.Cells(7, 3).setNumber(2.5);
    app.Cells(2, 1).setText("first");
    app.Cells(2, 9).setText("beyond the columns read");
    app.Cells(3, 2).setValue(QDate(2026, 11, 30));
    app.Cells(3, 1).setValue(QStringLiteral("TRUE"));
    app.Cells(3, 4).setBold(true);  // a formatted blank
    app.Cells(5, 4).setSumFormula(7, 3, 7, 3);
    app.Cells(7, 1).setText("last");
    app.Cells(1, 2).setNumber(-1);
    app.Cells(9, 1).setText("after the rows read");
}

TEST(RowReading, EachRowHoldsWhatItsCellsHoldWhenReadOneByOne) {
    Application app;
    fill(app);
    std::vector<int> rows;
    app.ActiveWorkbook().ActiveSheet().ReadRows(2, 8, 5, [&](const RowReading& cells) {
        rows.push_back(cells.row());
        for (int column = 0; column <= 6; ++column) {  // those outside read as empty
            const CellHandle one = app.Cells(cells.row(), std::max(column, 1));
            EXPECT_EQ(cells.number(column),
                      column >= 1 && column <= 5 ? one.number() : std::nullopt)
                << cells.row() << "," << column;
            EXPECT_EQ(cells.text(column), column >= 1 && column <= 5 ? one.text() : QString())
                << cells.row() << "," << column;
        }
    });
    EXPECT_EQ(rows, (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));

    QStringList firstColumn;
    std::vector<std::optional<double>> secondColumn;
    app.ActiveWorkbook().ActiveSheet().ReadRows(1, 3, 2, [&](const RowReading& cells) {
        firstColumn << cells.text(1);
        secondColumn.push_back(cells.number(2));
    });
    EXPECT_EQ(firstColumn, (QStringList{"", "first", ""}));  // TRUE is a truth value, not text
    EXPECT_EQ(secondColumn, (std::vector<std::optional<double>>{-1, std::nullopt, 46356}));
}

TEST(RowReading, NoRowsAndRowsOutsideTheSheet) {
    Application app;
    fill(app);
    Worksheet& sheet = app.ActiveWorkbook().ActiveSheet();
    int seen = 0;
    sheet.ReadRows(5, 4, 3, [&](const RowReading&) { ++seen; });
    EXPECT_EQ(seen, 0);
    EXPECT_THROW(sheet.ReadRows(0, 4, 3, [](const RowReading&) {}), Failure);
    EXPECT_THROW(sheet.ReadRows(1, 65537, 3, [](const RowReading&) {}), Failure);
    EXPECT_THROW(sheet.ReadRows(1, 4, 257, [](const RowReading&) {}), Failure);
}

TEST(RowReading, TheUsedRangeEndsAtTheLastCellsRowAndTheWidestColumn) {
    Application app;
    app.Workbooks().Add();
    Worksheet& sheet = app.ActiveWorkbook().ActiveSheet();
    EXPECT_EQ(sheet.UsedRangeLastRow(), 1);
    EXPECT_EQ(sheet.UsedRangeLastColumn(), 1);
    app.Cells(4, 9).setNumber(1);
    app.Cells(6, 2).setBold(true);
    app.Cells(2, 3).setNumber(1);
    EXPECT_EQ(sheet.UsedRangeLastRow(), 6);
    EXPECT_EQ(sheet.UsedRangeLastColumn(), 9);
}

}  // namespace
}  // namespace tallowby::automation
