#pragma once

#include <gtest/gtest.h>

#include <string>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::testing {

// Compares two models field by field, reporting the first differences with
// where they lie. Raw records are compared too: writing must keep them.
inline void expectSameSheet(const Sheet& a, const Sheet& b) {
    SCOPED_TRACE("sheet " + a.name);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.visibility, b.visibility);
    EXPECT_EQ(a.cells().size(), b.cells().size());
    int reported = 0;
    for (const auto& [at, cell] : a.cells()) {
        const Cell* other = b.find(at.row, at.col);
        // The writer marks every formula to be recalculated: bit 0 may differ.
        if (other && other->value == cell.value && other->xf == cell.xf &&
            other->formula == cell.formula && other->formulaExtra == cell.formulaExtra &&
            (other->formulaFlags | 1) == (cell.formulaFlags | 1))
            continue;
        ADD_FAILURE() << "cell row " << at.row << " col " << at.col << " differs";
        if (++reported > 5) break;
    }
    EXPECT_EQ(a.merges, b.merges);
    EXPECT_EQ(a.columns, b.columns);
    EXPECT_EQ(a.defaultColWidthChars, b.defaultColWidthChars);
    EXPECT_EQ(a.standardWidth, b.standardWidth);
    EXPECT_EQ(a.rows, b.rows);
    EXPECT_EQ(a.defaultRowHeightTwips, b.defaultRowHeightTwips);
    EXPECT_EQ(a.defaultRowFlags, b.defaultRowFlags);
    EXPECT_EQ(a.statesDefaultColWidth, b.statesDefaultColWidth);
    EXPECT_EQ(a.statesDefaultRowHeight, b.statesDefaultRowHeight);
    EXPECT_EQ(a.showGridlines, b.showGridlines);
    EXPECT_EQ(a.selected, b.selected);
    EXPECT_EQ(a.printArea, b.printArea);
    EXPECT_EQ(a.recordsBeforeCells, b.recordsBeforeCells);
    EXPECT_EQ(a.recordsAfterCells.size(), b.recordsAfterCells.size());
}

inline void expectSameWorkbook(const Workbook& a, const Workbook& b) {
    EXPECT_EQ(a.activeSheet, b.activeSheet);
    EXPECT_EQ(a.isTemplate, b.isTemplate);
    EXPECT_EQ(a.date1904, b.date1904);
    EXPECT_EQ(a.fonts, b.fonts);
    EXPECT_EQ(a.formats, b.formats);
    EXPECT_EQ(a.xfs, b.xfs);
    EXPECT_EQ(a.palette, b.palette);
    EXPECT_EQ(a.globalRecords.size(), b.globalRecords.size());
    EXPECT_EQ(a.otherStreams, b.otherStreams);
    ASSERT_EQ(a.sheets.size(), b.sheets.size());
    for (size_t i = 0; i < a.sheets.size(); ++i) expectSameSheet(a.sheets[i], b.sheets[i]);
}

}  // namespace tallowby::engine::testing
