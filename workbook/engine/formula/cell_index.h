#pragma once

#include <cstdint>
#include <vector>

#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::formula {

// The cells of every sheet of a workbook laid out flat in row-major order,
// with where each row starts. A range over many rows is then walked row to
// row by position: a search of the sheet's tree for every row costs a cache
// miss per level once the sheet outgrows the processor's caches, which made a
// column total over n rows cost far more than n times one row. Built in one
// pass; valid while no cell is added to or removed from the workbook (the
// cells' values may change).
class CellIndex {
  public:
    explicit CellIndex(const Workbook& workbook);

    // One sheet's cells; empty for a sheet index the workbook does not have.
    struct SheetCells {
        std::vector<CellAddress> addresses;  // row-major
        std::vector<const Cell*> cells;      // the cell at each address
        // rowStart[r] is the position of the first cell in row r or below, for
        // r up to one past the last row that has cells.
        std::vector<uint32_t> rowStart;
        // The positions of the cells that hold a formula, noted in the same
        // pass so finding them costs no second visit of every cell.
        std::vector<uint32_t> formulas;
    };
    const SheetCells& sheet(int index) const;

  private:
    std::vector<SheetCells> sheets_;
};

}  // namespace tallowby::engine::formula
