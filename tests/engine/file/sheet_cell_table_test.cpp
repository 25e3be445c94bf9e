// The cell table a sheet is written with: DIMENSIONS, then blocks of 32 rows,
// each its ROW records followed by its cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/sheet_writer.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine {
namespace {

struct Written {
    uint16_t type;
    std::vector<uint8_t> data;
};

std::vector<Written> recordsOf(const std::vector<uint8_t>& bytes) {
    std::vector<Written> records;
    for (size_t at = 0; at + 4 <= bytes.size();) {
        const uint16_t type = peek16(bytes.data() + at);
        const uint16_t size = peek16(bytes.data() + at + 2);
        records.push_back({type,
                           {bytes.begin() + static_cast<long>(at + 4),
                            bytes.begin() + static_cast<long>(at + 4 + size)}});
        at += 4 + size;
    }
    return records;
}

bool isCell(uint16_t type) {
    return type == biff::kBlank || type == biff::kNumber || type == biff::kRk ||
           type == biff::kLabelSst;
}

// "ROW r first-last" or "CELL r,c", as written.
std::vector<std::string> cellTable(const Sheet& sheet) {
    biff::SharedStringTable strings;
    std::vector<std::string> table;
    for (const Written& r : recordsOf(biff::writeSheet(sheet, true, strings))) {
        const uint8_t* d = r.data.data();
        if (r.type == biff::kDimensions)
            table.push_back("DIM " + std::to_string(peek32(d)) + "-" +
                            std::to_string(peek32(d + 4)) + " " + std::to_string(peek16(d + 8)) +
                            "-" + std::to_string(peek16(d + 10)));
        else if (r.type == biff::kRow)
            table.push_back("ROW " + std::to_string(peek16(d)) + " " +
                            std::to_string(peek16(d + 2)) + "-" + std::to_string(peek16(d + 4)));
        else if (isCell(r.type))
            table.push_back("CELL " + std::to_string(peek16(d)) + "," +
                            std::to_string(peek16(d + 2)));
    }
    return table;
}

TEST(SheetCellTable, RowsOfRecordsAndRowsOfCellsAreWrittenOnceEachInTheirBlocks) {
    Sheet sheet;
    sheet.at(1, 4).value = CellValue::fromNumber(1.5);
    sheet.at(1, 2).value = CellValue::fromText("b");
    sheet.at(3, 7);                                                  // a formatted blank
    sheet.rows[3] = RowInfo{400, true, false, std::nullopt, 0x140};  // a row with both
    sheet.rows[0] = RowInfo{};                                       // a row of no cell
    sheet.rows[40] = RowInfo{};                                      // alone in its block
    sheet.at(70, 0).value = CellValue::fromNumber(2);
    sheet.at(70, 255).value = CellValue::fromNumber(3);
    const std::vector<std::string> expected = {
        "DIM 1-71 0-256", "ROW 0 0-0",  "ROW 1 2-5",    "ROW 3 7-8", "CELL 1,2",    "CELL 1,4",
        "CELL 3,7",       "ROW 40 0-0", "ROW 70 0-256", "CELL 70,0", "CELL 70,255",
    };
    EXPECT_EQ(cellTable(sheet), expected);
}

TEST(SheetCellTable, ASheetWithoutCellsHasAnEmptyRangeAndOnlyItsRowRecords) {
    Sheet sheet;
    EXPECT_EQ(cellTable(sheet), (std::vector<std::string>{"DIM 0-0 0-0"}));
    sheet.rows[5] = RowInfo{};
    EXPECT_EQ(cellTable(sheet), (std::vector<std::string>{"DIM 0-0 0-0", "ROW 5 0-0"}));
}

TEST(SheetCellTable, TheLastRowOfTheSheetIsWritten) {
    Sheet sheet;
    sheet.at(0xFFFF, 3).value = CellValue::fromNumber(1);
    sheet.at(0xFFFE, 9).value = CellValue::fromNumber(1);
    EXPECT_EQ(cellTable(sheet),
              (std::vector<std::string>{"DIM 65534-65536 3-10", "ROW 65534 9-10", "ROW 65535 3-4",
                                        "CELL 65534,9", "CELL 65535,3"}));
}

}  // namespace
}  // namespace tallowby::engine
