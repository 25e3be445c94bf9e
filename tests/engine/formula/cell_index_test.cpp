#include "workbook/engine/formula/cell_index.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "workbook/engine/formula/formula_operand.h"

namespace tallowby::engine {
namespace {

using formula::CellIndex;
using formula::EvalContext;
using formula::ExternSheets;
using formula::forEachValue;
using formula::RecalculationTooLarge;
using formula::SheetRange;

TEST(CellIndex, ListsEachSheetsCellsWithWhereEachRowStartsAndItsFormulas) {
    Workbook book;
    book.sheets.resize(2);
    Sheet& sheet = book.sheets[0];
    sheet.at(1, 3).value = CellValue::fromNumber(1);
    sheet.at(1, 0).formula = {0x1E, 0x01, 0x00};  // =1
    sheet.at(4, 2);                               // a formatted blank counts as a cell
    const CellIndex index(book);

    const CellIndex::SheetCells& flat = index.sheet(0);
    ASSERT_EQ(flat.addresses.size(), 3u);
    EXPECT_EQ(flat.addresses[0], (CellAddress{1, 0}));
    EXPECT_EQ(flat.addresses[1], (CellAddress{1, 3}));
    EXPECT_EQ(flat.addresses[2], (CellAddress{4, 2}));
    EXPECT_EQ(flat.cells[1], sheet.find(1, 3));
    // Rows 0 and 1 start at the first cell, 2 to 4 after row 1's two, and
    // one past the last row at the end.
    EXPECT_EQ(flat.rowStart, (std::vector<uint32_t>{0, 0, 2, 2, 2, 3}));
    EXPECT_EQ(flat.formulas, (std::vector<uint32_t>{0}));

    EXPECT_TRUE(index.sheet(1).addresses.empty());
    EXPECT_EQ(index.sheet(1).rowStart, (std::vector<uint32_t>{0}));
    for (int missing : {-1, 2}) {
        EXPECT_TRUE(index.sheet(missing).addresses.empty());
        EXPECT_EQ(index.sheet(missing).rowStart.size(), 1u);
    }
}

// What a range walk saw: the values in order and the cells it counted.
struct Walk {
    std::vector<double> values;
    size_t reads = 0;
    bool stoppedByBudget = false;
    bool operator==(const Walk&) const = default;
};

Walk walk(const Workbook& book, const SheetRange& range, const CellIndex* index, size_t budget,
          size_t stopAfter) {
    const ExternSheets externSheets(book);
    size_t left = budget;
    const EvalContext context{book, externSheets, 0, {}, &left, index};
    Walk seen;
    try {
        forEachValue(range, context, [&](const CellValue& v) {
            seen.values.push_back(v.type == CellValue::Type::Number ? v.number : -1);
            return seen.values.size() < stopAfter;
        });
    } catch (const RecalculationTooLarge&) {
        seen.stoppedByBudget = true;
    }
    seen.reads = budget - left;
    return seen;
}

// The index walks ranges as the sheet's own tree does: the same values in
// the same order (sums of doubles depend on it), the same cells counted
// against the budget, the same stop when the budget or the caller ends it.
TEST(CellIndexRangeWalk, SeesWhatTheTreeWalkSees) {
    std::mt19937 random(20261130);
    Workbook book;
    book.sheets.resize(2);
    Sheet& sheet = book.sheets[0];
    // Sparse rows of cells, empty rows between, blanks and text among numbers,
    // and a cell in the sheet's last row and column.
    for (int n = 0; n < 600; ++n) {
        const auto row = static_cast<uint16_t>(random() % 120);
        const auto col = static_cast<uint16_t>(random() % 12);
        Cell& cell = sheet.at(row, col);
        switch (random() % 4) {
            case 0:
                break;  // a blank
            case 1:
                cell.value = CellValue::fromText("t");
                break;
            default:
                cell.value = CellValue::fromNumber(n);
        }
    }
    sheet.at(0xFFFF, 0xFF).value = CellValue::fromNumber(-7);
    const CellIndex index(book);

    std::vector<SheetRange> ranges = {
        {0, {0, 0xFFFF, 0, 0xFF}},  // everything
        {0, {5, 5, 0, 0xFF}},       // one row
        {0, {0, 0xFFFF, 3, 3}},     // one column
        {0, {130, 400, 0, 11}},     // rows with no cell
        {0, {0xFFFF, 0xFFFF, 0, 0xFF}},
        {0, {7, 3, 0, 11}},    // rows reversed: nothing
        {0, {0, 119, 9, 2}},   // columns reversed: nothing
        {1, {0, 100, 0, 10}},  // an empty sheet
        {5, {0, 100, 0, 10}},  // no such sheet
    };
    for (int n = 0; n < 300; ++n) {
        const auto r1 = static_cast<uint16_t>(random() % 125),
                   r2 = static_cast<uint16_t>(random() % 125);
        const auto c1 = static_cast<uint16_t>(random() % 14),
                   c2 = static_cast<uint16_t>(random() % 14);
        ranges.push_back(
            {0, {std::min(r1, r2), std::max(r1, r2), std::min(c1, c2), std::max(c1, c2)}});
    }
    for (const SheetRange& range : ranges) {
        const CellRange& r = range.range;
        const std::string where = std::to_string(r.firstRow) + ":" + std::to_string(r.lastRow) +
                                  " cols " + std::to_string(r.firstCol) + ":" +
                                  std::to_string(r.lastCol);
        const Walk tree = walk(book, range, nullptr, 1'000'000, SIZE_MAX);
        EXPECT_EQ(walk(book, range, &index, 1'000'000, SIZE_MAX), tree) << where;
        if (tree.values.size() > 2) {  // the caller stops after two values
            const Walk stopped = walk(book, range, nullptr, 1'000'000, 2);
            EXPECT_EQ(walk(book, range, &index, 1'000'000, 2), stopped) << where;
        }
        if (tree.reads > 1) {  // the budget runs out part way
            const Walk cut = walk(book, range, &index, tree.reads / 2, SIZE_MAX);
            EXPECT_TRUE(cut.stoppedByBudget) << where;
            EXPECT_EQ(cut, walk(book, range, nullptr, tree.reads / 2, SIZE_MAX)) << where;
        }
    }
}

}  // namespace
}  // namespace tallowby::engine
