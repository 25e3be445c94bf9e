#pragma once

#include <cstddef>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::formula {

// The error value a formula on a circular chain of references gets.
inline constexpr ErrorCode kCircularReferenceError = ErrorCode::Value;

struct RecalcSummary {
    size_t formulas = 0;  // formula cells computed
    size_t circular = 0;  // of them, cells on a circular chain of references
};

// Computes every formula cell of every sheet, each after the cells it refers
// to, and stores the results in Cell::value so a writer saves them. Cells on
// a circular chain get kCircularReferenceError. Formulas this engine cannot
// compute (shared and array formulas, ptgExp) keep their cached values.
// Throws RecalculationTooLarge (a std::runtime_error), leaving some results
// stale, when the formulas would make it read more than `maxCellReads` cells
// or hold more than `maxDependencies` links between formula cells.
RecalcSummary recalculate(Workbook& workbook, size_t maxCellReads = 200'000'000,
                          size_t maxDependencies = 5'000'000);

}  // namespace tallowby::engine::formula
