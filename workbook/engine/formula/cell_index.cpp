#include "workbook/engine/formula/cell_index.h"

namespace tallowby::engine::formula {

CellIndex::CellIndex(const Workbook& workbook) {
    sheets_.resize(workbook.sheets.size());
    for (size_t s = 0; s < workbook.sheets.size(); ++s) {
        const auto& cells = workbook.sheets[s].cells();
        SheetCells& flat = sheets_[s];
        flat.addresses.reserve(cells.size());
        flat.cells.reserve(cells.size());
        for (const auto& [address, cell] : cells) {
            // Rows up to this one that have no cell start where this one does.
            while (flat.rowStart.size() <= address.row)
                flat.rowStart.push_back(static_cast<uint32_t>(flat.addresses.size()));
            if (cell.hasFormula())
                flat.formulas.push_back(static_cast<uint32_t>(flat.addresses.size()));
            flat.addresses.push_back(address);
            flat.cells.push_back(&cell);
        }
        flat.rowStart.push_back(static_cast<uint32_t>(flat.addresses.size()));
    }
}

const CellIndex::SheetCells& CellIndex::sheet(int index) const {
    static const SheetCells kNone{{}, {}, {0}, {}};
    if (index < 0 || index >= static_cast<int>(sheets_.size())) return kNone;
    return sheets_[static_cast<size_t>(index)];
}

}  // namespace tallowby::engine::formula
