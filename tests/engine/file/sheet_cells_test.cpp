// A sheet's cells, added in any order, looked up again.
#include <gtest/gtest.h>

#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine {
namespace {

TEST(SheetCells, AnAddressHasOneCellWhateverTheOrderCellsAreAddedIn) {
    Sheet sheet;
    // Past the last cell, the last cell again, before it, and in between.
    const std::vector<CellAddress> order = {{2, 5}, {2, 5}, {2, 9}, {0, 0},         {2, 7}, {2, 9},
                                            {9, 0}, {2, 6}, {9, 0}, {0xFFFF, 0xFF}, {1, 1}};
    double n = 0;
    for (const CellAddress& a : order) {
        Cell& cell = sheet.at(a.row, a.col);
        if (cell.value.isEmpty()) cell.value = CellValue::fromNumber(++n);
    }
    std::vector<CellAddress> stored;
    for (const auto& [address, cell] : sheet.cells()) stored.push_back(address);
    EXPECT_EQ(stored, (std::vector<CellAddress>{
                          {0, 0}, {1, 1}, {2, 5}, {2, 6}, {2, 7}, {2, 9}, {9, 0}, {0xFFFF, 0xFF}}));
    // Each kept the value it got when first added.
    EXPECT_EQ(sheet.at(2, 5).value.number, 1);
    EXPECT_EQ(sheet.at(2, 9).value.number, 2);
    EXPECT_EQ(sheet.at(9, 0).value.number, 5);
    EXPECT_EQ(&sheet.at(0xFFFF, 0xFF), sheet.find(0xFFFF, 0xFF));
    EXPECT_EQ(sheet.cells().size(), 8u);
}

}  // namespace
}  // namespace tallowby::engine
