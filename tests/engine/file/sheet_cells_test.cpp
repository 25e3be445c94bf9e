// A sheet's cells, added in any order, looked up again.
#include <gtest/gtest.h>

#include <utility>
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

TEST(SheetCells, AFormatRunFormatsEveryCellOfItsRowAndKeepsTheirValues) {
    Sheet sheet;
    sheet.at(3, 4).value = CellValue::fromNumber(7);  // inside the run, kept
    sheet.at(3, 2).xf = 20;                           // just before it
    sheet.at(3, 9).xf = 21;                           // just after it
    sheet.at(4, 0).xf = 22;                           // the next row
    sheet.formatRun(3, 3, 8, 30);
    sheet.formatRun(0xFFFF, 0xFFFD, 0xFFFF, 31);  // the sheet's last cells
    std::vector<std::pair<CellAddress, uint16_t>> stored;
    for (const auto& [address, cell] : sheet.cells()) stored.emplace_back(address, cell.xf);
    EXPECT_EQ(stored, (std::vector<std::pair<CellAddress, uint16_t>>{{{3, 2}, 20},
                                                                     {{3, 3}, 30},
                                                                     {{3, 4}, 30},
                                                                     {{3, 5}, 30},
                                                                     {{3, 6}, 30},
                                                                     {{3, 7}, 30},
                                                                     {{3, 8}, 30},
                                                                     {{3, 9}, 21},
                                                                     {{4, 0}, 22},
                                                                     {{0xFFFF, 0xFFFD}, 31},
                                                                     {{0xFFFF, 0xFFFE}, 31},
                                                                     {{0xFFFF, 0xFFFF}, 31}}));
    EXPECT_EQ(sheet.find(3, 4)->value.number, 7);
    EXPECT_TRUE(sheet.find(3, 5)->value.isEmpty());
}

}  // namespace
}  // namespace tallowby::engine
