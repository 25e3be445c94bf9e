#pragma once

#include <gtest/gtest.h>

#include <string>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::testing {

// Each listed member of `a` and `b` compared; a failure names the member by
// its place in the list.
template <class Model, class... Member>
void expectSameMembers(const Model& a, const Model& b, Member Model::*... members) {
    int place = 0;
    auto same = [&](auto member) {
        ++place;
        EXPECT_EQ(a.*member, b.*member) << "listed member " << place;
    };
    (same(members), ...);
}

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
    expectSameMembers(a, b, &Sheet::merges, &Sheet::columns, &Sheet::defaultColWidthChars,
                      &Sheet::standardWidth, &Sheet::rows, &Sheet::defaultRowHeightTwips,
                      &Sheet::defaultRowFlags, &Sheet::statesDefaultColWidth,
                      &Sheet::statesDefaultRowHeight, &Sheet::showGridlines, &Sheet::selected,
                      &Sheet::printArea, &Sheet::recordsBeforeCells);
    EXPECT_EQ(a.recordsAfterCells.size(), b.recordsAfterCells.size());
}

inline void expectSameWorkbook(const Workbook& a, const Workbook& b) {
    expectSameMembers(a, b, &Workbook::activeSheet, &Workbook::isTemplate, &Workbook::date1904,
                      &Workbook::fonts, &Workbook::formats, &Workbook::xfs, &Workbook::palette);
    EXPECT_EQ(a.globalRecords.size(), b.globalRecords.size());
    EXPECT_EQ(a.otherStreams, b.otherStreams);
    ASSERT_EQ(a.sheets.size(), b.sheets.size());
    for (size_t i = 0; i < a.sheets.size(); ++i) expectSameSheet(a.sheets[i], b.sheets[i]);
}

}  // namespace tallowby::engine::testing
