#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

#include "workbook/engine/formula/cell_index.h"
#include "workbook/engine/formula/extern_sheets.h"
#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine::formula {

// What a formula is evaluated against: the workbook and the formula's own cell.
struct EvalContext {
    const Workbook& workbook;
    const ExternSheets& externSheets;
    int sheet = 0;
    CellAddress at;
    // Cells a whole recalculation may still read, or nullptr for no limit.
    size_t* readBudget = nullptr;
    // The workbook's cells laid flat, for walking ranges; nullptr walks the
    // sheets' own trees (one formula evaluated alone need not build it).
    const CellIndex* cellIndex = nullptr;
};

// A recalculation that would read more cells than any sensible workbook needs
// (a damaged or hostile file): stopped rather than left to run for minutes.
class RecalculationTooLarge : public std::runtime_error {
  public:
    RecalculationTooLarge()
        : std::runtime_error("The workbook's formulas refer to too many cells to be calculated.") {}
};

// A cell range on one sheet.
struct SheetRange {
    int sheet = 0;
    CellRange range;
};

// One entry of the evaluation stack: a value, a reference, or an omitted argument.
struct Operand {
    enum class Kind : uint8_t { Value, Reference, Missing };
    Kind kind = Kind::Value;
    CellValue value;
    SheetRange ref;

    static Operand of(CellValue v) { return {Kind::Value, std::move(v), {}}; }
    static Operand number(double v) { return of(CellValue::fromNumber(v)); }
    static Operand error(ErrorCode e) { return of(CellValue::fromError(e)); }
    static Operand reference(SheetRange r) { return {Kind::Reference, {}, r}; }
    static Operand missing() { return {Kind::Missing, {}, {}}; }
};

// The value an operand stands for in a single-value place: a reference to
// one cell gives that cell's value; a row or column range gives the cell in
// the formula's own column or row; any other range is #VALUE!.
CellValue scalarValue(const Operand& operand, const EvalContext& context);

// A number for arithmetic: blank 0, TRUE 1; text is #VALUE!; errors pass through.
// Returns false and sets `error` when the value is not a number.
bool toNumber(const CellValue& value, double& number, ErrorCode& error);

// Calls `visit` for each cell of the range that holds a value, in row order;
// stops early when `visit` returns false.
void forEachValue(const SheetRange& range, const EvalContext& context,
                  const std::function<bool(const CellValue&)>& visit);

// A finite arithmetic result as a number, anything else as #NUM!.
CellValue numberResult(double value);

// The text a value shows in concatenation: numbers with up to 15 significant digits.
std::string valueText(const CellValue& value);

}  // namespace tallowby::engine::formula
