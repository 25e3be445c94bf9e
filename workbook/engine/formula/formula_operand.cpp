#include "workbook/engine/formula/formula_operand.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tallowby::engine::formula {

CellValue scalarValue(const Operand& operand, const EvalContext& context) {
    switch (operand.kind) {
        case Operand::Kind::Value:
            return operand.value;
        case Operand::Kind::Missing:
            return CellValue::empty();
        case Operand::Kind::Reference:
            break;
    }
    const CellRange& r = operand.ref.range;
    uint16_t row = r.firstRow;
    uint16_t col = r.firstCol;
    if (r.firstRow != r.lastRow) {
        if (r.firstCol != r.lastCol || context.at.row < r.firstRow || context.at.row > r.lastRow)
            return CellValue::fromError(ErrorCode::Value);
        row = context.at.row;
    } else if (r.firstCol != r.lastCol) {
        if (context.at.col < r.firstCol || context.at.col > r.lastCol)
            return CellValue::fromError(ErrorCode::Value);
        col = context.at.col;
    }
    if (operand.ref.sheet < 0 ||
        operand.ref.sheet >= static_cast<int>(context.workbook.sheets.size()))
        return CellValue::fromError(ErrorCode::Ref);
    const Cell* cell = context.workbook.sheets[operand.ref.sheet].find(row, col);
    return cell ? cell->value : CellValue::empty();
}

bool toNumber(const CellValue& value, double& number, ErrorCode& error) {
    switch (value.type) {
        case CellValue::Type::Empty:
            number = 0;
            return true;
        case CellValue::Type::Number:
        case CellValue::Type::Boolean:
            number = value.number;
            return true;
        case CellValue::Type::Text:
            error = ErrorCode::Value;
            return false;
        case CellValue::Type::Error:
            error = value.error;
            return false;
    }
    error = ErrorCode::Value;
    return false;
}

namespace {

// Counts one cell read against the recalculation's budget.
void spendRead(const EvalContext& context) {
    if (!context.readBudget) return;
    if (*context.readBudget == 0) throw RecalculationTooLarge();
    --*context.readBudget;
}

void forEachIndexedValue(const CellIndex::SheetCells& flat, const CellRange& r,
                         const EvalContext& context,
                         const std::function<bool(const CellValue&)>& visit) {
    const size_t lastIndexedRow = flat.rowStart.size() - 1;  // one past the last row with cells
    if (r.firstRow >= lastIndexedRow) return;
    size_t at = flat.rowStart[r.firstRow];
    const auto* addresses = flat.addresses.data();
    while (at < flat.addresses.size()) {
        const uint16_t row = addresses[at].row;
        if (row > r.lastRow) break;
        const size_t rowEnd = flat.rowStart[row + 1u];
        at = static_cast<size_t>(
            std::lower_bound(addresses + at, addresses + rowEnd, CellAddress{row, r.firstCol}) -
            addresses);
        for (; at < rowEnd && addresses[at].col <= r.lastCol; ++at) {
            spendRead(context);
            const CellValue& value = flat.cells[at]->value;
            if (!value.isEmpty() && !visit(value)) return;
        }
        at = rowEnd;
    }
}

}  // namespace

void forEachValue(const SheetRange& range, const EvalContext& context,
                  const std::function<bool(const CellValue&)>& visit) {
    if (range.sheet < 0 || range.sheet >= static_cast<int>(context.workbook.sheets.size())) return;
    const CellRange& r = range.range;
    if (context.cellIndex)
        return forEachIndexedValue(context.cellIndex->sheet(range.sheet), r, context, visit);
    const auto& cells = context.workbook.sheets[range.sheet].cells();
    auto it = cells.lower_bound(CellAddress{r.firstRow, r.firstCol});
    while (it != cells.end() && it->first.row <= r.lastRow) {
        const CellAddress a = it->first;
        if (a.col < r.firstCol) {
            it = cells.lower_bound(CellAddress{a.row, r.firstCol});
            continue;
        }
        if (a.col > r.lastCol) {
            // Skip the rest of the row, to the range's first column of the next.
            if (a.row >= r.lastRow) break;
            it = cells.lower_bound(CellAddress{static_cast<uint16_t>(a.row + 1), r.firstCol});
            continue;
        }
        spendRead(context);
        if (!it->second.value.isEmpty() && !visit(it->second.value)) return;
        ++it;
    }
}

CellValue numberResult(double value) {
    if (!std::isfinite(value)) return CellValue::fromError(ErrorCode::Num);
    return CellValue::fromNumber(value == 0 ? 0.0 : value);  // no negative zero
}

std::string valueText(const CellValue& value) {
    switch (value.type) {
        case CellValue::Type::Empty:
            return {};
        case CellValue::Type::Text:
            return value.text;
        case CellValue::Type::Boolean:
            return value.number != 0 ? "TRUE" : "FALSE";
        case CellValue::Type::Error:
            return errorText(value.error);
        case CellValue::Type::Number:
            break;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value.number);
    return buffer;
}

}  // namespace tallowby::engine::formula
