#include "workbook/engine/edit/column_edits.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "workbook/engine/edit/reference_shift.h"
#include "workbook/engine/formula/extern_sheets.h"

namespace tallowby::engine::edit {

namespace {

constexpr uint16_t kNameRecord = 0x0018;

Sheet& sheetAt(Workbook& workbook, int sheetIndex) {
    if (sheetIndex < 0 || sheetIndex >= static_cast<int>(workbook.sheets.size()))
        throw std::out_of_range("no such sheet");
    return workbook.sheets[sheetIndex];
}

// Where a NAME record's formula starts, or nothing when the record is too
// short to hold the name and formula it announces.
std::optional<size_t> nameFormulaOffset(const std::vector<uint8_t>& data) {
    constexpr size_t kFixed = 14;
    if (data.size() < kFixed + 1) return std::nullopt;
    const size_t chars = data[3];
    const size_t formulaSize = static_cast<size_t>(data[4] | (data[5] << 8));
    const bool wide = (data[kFixed] & 0x01) != 0;
    const size_t at = kFixed + 1 + chars * (wide ? 2 : 1);
    if (at + formulaSize > data.size()) return std::nullopt;
    return at;
}

// Applies the move to the formula of a NAME record, in place.
void moveNameFormula(std::vector<uint8_t>& data, const std::function<bool(uint16_t)>& externApplies,
                     const ColumnMove& move) {
    const auto at = nameFormulaOffset(data);
    if (!at) return;
    const size_t size = static_cast<size_t>(data[4] | (data[5] << 8));
    std::vector<uint8_t> tokens(data.begin() + static_cast<std::ptrdiff_t>(*at),
                                data.begin() + static_cast<std::ptrdiff_t>(*at + size));
    // Names refer to sheets through 3-D references only.
    moveColumns(tokens, false, externApplies, move);
    std::copy(tokens.begin(), tokens.end(), data.begin() + static_cast<std::ptrdiff_t>(*at));
}

// Columns first..last after the move, or nothing when they fall off the sheet.
std::optional<std::pair<uint16_t, uint16_t>> movedColumns(int first, int last,
                                                          const ColumnMove& move) {
    const auto cols = move.area(first, false, std::min(last, kLastColumn), false);
    if (!cols || cols->first > kLastColumn) return std::nullopt;
    return std::pair{static_cast<uint16_t>(cols->first),
                     static_cast<uint16_t>(std::min(cols->second, kLastColumn))};
}

// The range after the insertion, or nothing when it falls off the sheet.
std::optional<CellRange> movedRange(CellRange r, const ColumnMove& move) {
    const auto cols = movedColumns(r.firstCol, r.lastCol, move);
    if (!cols) return std::nullopt;
    std::tie(r.firstCol, r.lastCol) = *cols;
    return r;
}

void moveCells(Sheet& sheet, uint16_t before, uint16_t count) {
    std::vector<std::pair<CellAddress, Cell>> moving;
    for (const auto& [address, cell] : sheet.cells())
        if (address.col >= before) moving.emplace_back(address, cell);
    for (const auto& [address, cell] : moving) sheet.erase(address.row, address.col);
    for (auto& [address, cell] : moving) {
        const int col = address.col + count;
        if (col > kLastColumn) continue;
        sheet.at(address.row, static_cast<uint16_t>(col)) = std::move(cell);
    }
}

// The inserted cells take the format of their left neighbours, as a
// spreadsheet program formats inserted columns, so borders and fills of rows
// and merged ranges that run across them continue.
void formatLikeLeft(Sheet& sheet, uint16_t before, uint16_t count) {
    if (before == 0) return;
    std::vector<std::pair<uint16_t, uint16_t>> rows;  // row, XF
    for (const auto& [address, cell] : sheet.cells())
        if (address.col == before - 1) rows.emplace_back(address.row, cell.xf);
    const int end = std::min<int>(before + count, kLastColumn + 1);
    if (end <= before) return;
    for (const auto& [row, xf] : rows)
        sheet.formatRun(row, before, static_cast<uint16_t>(end - 1), xf);
}

void moveColumnRuns(Sheet& sheet, const ColumnMove& move) {
    std::vector<ColumnInfo> kept;
    for (ColumnInfo info : sheet.columns) {
        const auto cols = movedColumns(info.firstCol, info.lastCol, move);
        if (!cols) continue;
        std::tie(info.firstCol, info.lastCol) = *cols;
        kept.push_back(info);
    }
    sheet.columns = std::move(kept);
}

// Gives one column its own COLINFO run, splitting the run that held it.
void setColumnInfo(Sheet& sheet, uint16_t col, ColumnInfo info) {
    std::vector<ColumnInfo> runs;
    for (const ColumnInfo& run : sheet.columns) {
        if (run.lastCol < col || run.firstCol > col) {
            runs.push_back(run);
            continue;
        }
        if (run.firstCol < col) {
            ColumnInfo left = run;
            left.lastCol = static_cast<uint16_t>(col - 1);
            runs.push_back(left);
        }
        if (run.lastCol > col) {
            ColumnInfo right = run;
            right.firstCol = static_cast<uint16_t>(col + 1);
            runs.push_back(right);
        }
    }
    info.firstCol = info.lastCol = col;
    runs.push_back(info);
    std::sort(runs.begin(), runs.end(),
              [](const ColumnInfo& a, const ColumnInfo& b) { return a.firstCol < b.firstCol; });
    // Neighbours that came out equal become one run again.
    std::vector<ColumnInfo> joined;
    for (const ColumnInfo& run : runs) {
        if (!joined.empty()) {
            ColumnInfo& last = joined.back();
            if (last.lastCol + 1 == run.firstCol && last.width == run.width && last.xf == run.xf &&
                last.flags == run.flags) {
                last.lastCol = run.lastCol;
                continue;
            }
        }
        joined.push_back(run);
    }
    sheet.columns = std::move(joined);
}

}  // namespace

void insertColumns(Workbook& workbook, int sheetIndex, uint16_t before, uint16_t count) {
    Sheet& target = sheetAt(workbook, sheetIndex);
    if (before > kLastColumn) throw std::out_of_range("column past the last one");
    if (count == 0) return;
    const ColumnMove move = insertionMove(before, count);
    const formula::ExternSheets externs(workbook);
    auto pointsHere = [&](uint16_t externSheet) {
        return externs.sheetFor(externSheet) == sheetIndex;
    };

    // Every formula is rewritten on a copy first, so tokens that cannot be
    // walked leave the workbook as it was.
    std::vector<std::vector<std::pair<CellAddress, std::vector<uint8_t>>>> formulas(
        workbook.sheets.size());
    for (size_t s = 0; s < workbook.sheets.size(); ++s) {
        for (const auto& [address, cell] : workbook.sheets[s].cells()) {
            if (!cell.hasFormula()) continue;
            std::vector<uint8_t> tokens = cell.formula;
            moveColumns(tokens, static_cast<int>(s) == sheetIndex, pointsHere, move);
            if (tokens != cell.formula) formulas[s].emplace_back(address, std::move(tokens));
        }
    }
    std::vector<RawRecord> globals = workbook.globalRecords;
    for (RawRecord& record : globals)
        if (record.type == kNameRecord) moveNameFormula(record.data, pointsHere, move);

    for (size_t s = 0; s < workbook.sheets.size(); ++s)
        for (auto& [address, tokens] : formulas[s])
            workbook.sheets[s].at(address.row, address.col).formula = std::move(tokens);
    workbook.globalRecords = std::move(globals);

    moveCells(target, before, count);
    formatLikeLeft(target, before, count);
    std::vector<CellRange> merges;
    for (const CellRange& merge : target.merges)
        if (auto moved = movedRange(merge, move)) merges.push_back(*moved);
    target.merges = std::move(merges);
    moveColumnRuns(target, move);
    if (target.printArea) target.printArea = movedRange(*target.printArea, move);
}

void fillRight(Workbook& workbook, int sheetIndex, uint16_t source, uint16_t first, uint16_t count,
               uint16_t firstRow, uint16_t lastRow) {
    Sheet& sheet = sheetAt(workbook, sheetIndex);
    if (source > kLastColumn || first > kLastColumn || first + count - 1 > kLastColumn)
        throw std::out_of_range("column past the last one");
    std::vector<std::pair<uint16_t, Cell>> column;
    int lastUsedRow = -1;
    for (const auto& [address, cell] : sheet.cells()) {
        lastUsedRow = std::max<int>(lastUsedRow, address.row);
        if (address.col == source && address.row >= firstRow && address.row <= lastRow)
            column.emplace_back(address.row, cell);
    }
    // Each target column's old cells are looked up row by row, so filling
    // many columns does not walk the whole sheet once per column.
    const int lastRowToClear = std::min<int>(lastRow, lastUsedRow);
    std::optional<ColumnInfo> sourceInfo;
    for (const ColumnInfo& run : sheet.columns)
        if (run.firstCol <= source && source <= run.lastCol) sourceInfo = run;

    for (int col = first; col < first + count; ++col) {
        if (col == source) continue;
        const auto c = static_cast<uint16_t>(col);
        // Copies first, so a formula that cannot be walked changes nothing in this column.
        std::vector<std::pair<uint16_t, Cell>> copies = column;
        for (auto& [row, cell] : copies)
            if (cell.hasFormula()) moveColumns(cell.formula, true, {}, copyMove(col - source));
        // Rows with a copy take it in place; the others are cleared. (The
        // column's rows come in order, as the sheet keeps its cells.)
        auto copy = copies.begin();
        for (int row = firstRow; row <= lastRowToClear; ++row) {
            if (copy != copies.end() && copy->first == row) {
                ++copy;
                continue;
            }
            if (sheet.find(static_cast<uint16_t>(row), c))
                sheet.erase(static_cast<uint16_t>(row), c);
        }
        for (auto& [row, cell] : copies) sheet.at(row, c) = std::move(cell);
        if (sourceInfo) setColumnInfo(sheet, c, *sourceInfo);
    }
}

}  // namespace tallowby::engine::edit
