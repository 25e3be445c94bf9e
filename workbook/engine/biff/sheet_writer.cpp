#include "workbook/engine/biff/sheet_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "workbook/engine/biff/page_setup_records.h"
#include "workbook/engine/biff/record_order.h"
#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/record_writer.h"
#include "workbook/engine/cfb/file_format_error.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

namespace {

constexpr uint16_t kGridlinesShown = 0x0002;
constexpr uint16_t kSheetSelected = 0x0200;
constexpr uint16_t kSheetActive = 0x0400;
constexpr uint16_t kAlwaysCalculate = 0x0001;
constexpr uint16_t kSharedFormulaFlag = 0x0008;
constexpr size_t kMergesPerRecord = 1026;
constexpr uint16_t kRowsPerBlock = 32;

bool toRk(double v, uint32_t& rk) {
    if (v == std::floor(v) && v >= -536870912.0 && v <= 536870911.0) {
        rk = (static_cast<uint32_t>(static_cast<int32_t>(v)) << 2) | 0x02;
        return true;
    }
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    if ((bits & 0x3FFFFFFFFull) == 0) {
        rk = static_cast<uint32_t>(bits >> 32);
        return true;
    }
    return false;
}

RawRecord record(uint16_t type) {
    return RawRecord{type, {}};
}

class SheetWriter {
  public:
    SheetWriter(const Sheet& sheet, bool active, SharedStringTable& strings)
        : sheet_(sheet), active_(active), strings_(strings) {
        // One walk of the sheet's tree; the dimensions, the rows and the cells
        // are then written from this list. Walking the tree again for each,
        // and searching it for every row, costs a cache miss a step once the
        // sheet outgrows the processor's caches.
        cells_.reserve(sheet.cells().size());
        for (const auto& [address, cell] : sheet.cells()) cells_.emplace_back(address, &cell);
    }

    std::vector<uint8_t> write() {
        appendRecord(out_, kBof, bofData(kBofWorksheet));
        std::vector<RawRecord> before = sheet_.recordsBeforeCells;
        applyPageSetup(sheet_.pageSetup, before);
        for (const RawRecord& r :
             arrangeRecords(Part::SheetBeforeCells, before, beforeCellsBlocks()))
            appendRecord(out_, r);
        writeDimensions();
        writeCellTable();
        std::vector<RawRecord> after = sheet_.recordsAfterCells;
        bool hasWindow = patchWindow(after);
        std::vector<RecordBlock> blocks = afterCellsBlocks();
        if (!hasWindow) blocks.push_back({20, {newWindow()}});
        for (const RawRecord& r : arrangeRecords(Part::SheetAfterCells, after, std::move(blocks)))
            appendRecord(out_, r);
        appendRecord(out_, kEof, {});
        return std::move(out_);
    }

  private:
    std::vector<RecordBlock> beforeCellsBlocks() const {
        RawRecord rowHeight = record(kDefaultRowHeight);
        ByteWriter(rowHeight.data).u16(sheet_.defaultRowFlags);
        ByteWriter(rowHeight.data).u16(sheet_.defaultRowHeightTwips);
        RawRecord colWidth = record(kDefColWidth);
        ByteWriter(colWidth.data).u16(sheet_.defaultColWidthChars);
        RecordBlock columns{41, {}};
        for (const ColumnInfo& c : sheet_.columns) {
            RawRecord r = record(kColInfo);
            ByteWriter w(r.data);
            w.u16(std::min<uint16_t>(c.firstCol, 255));
            w.u16(std::min<uint16_t>(c.lastCol, 255));
            w.u16(c.width);
            w.u16(c.xf);
            w.u16(c.flags);
            w.u16(0);
            columns.records.push_back(std::move(r));
        }
        std::vector<RecordBlock> blocks;
        if (sheet_.statesDefaultRowHeight) blocks.push_back({20, {rowHeight}});
        if (sheet_.statesDefaultColWidth) blocks.push_back({40, {colWidth}});
        blocks.push_back(std::move(columns));
        return blocks;
    }

    std::vector<RecordBlock> afterCellsBlocks() const {
        std::vector<RecordBlock> blocks;
        if (sheet_.standardWidth) {
            RawRecord r = record(kStandardWidth);
            ByteWriter(r.data).u16(*sheet_.standardWidth);
            blocks.push_back({35, {r}});
        }
        RecordBlock merges{40, {}};
        for (size_t i = 0; i < sheet_.merges.size(); i += kMergesPerRecord) {
            const size_t n = std::min(kMergesPerRecord, sheet_.merges.size() - i);
            RawRecord r = record(kMergedCells);
            ByteWriter w(r.data);
            w.u16(static_cast<uint16_t>(n));
            for (size_t k = i; k < i + n; ++k) {
                const CellRange& m = sheet_.merges[k];
                w.u16(m.firstRow);
                w.u16(m.lastRow);
                w.u16(m.firstCol);
                w.u16(m.lastCol);
            }
            merges.records.push_back(std::move(r));
        }
        blocks.push_back(std::move(merges));
        return blocks;
    }

    uint16_t windowFlags(uint16_t flags) const {
        flags &= static_cast<uint16_t>(~(kGridlinesShown | kSheetSelected | kSheetActive));
        if (sheet_.showGridlines) flags |= kGridlinesShown;
        if (sheet_.selected || active_) flags |= kSheetSelected;
        if (active_) flags |= kSheetActive;
        return flags;
    }

    bool patchWindow(std::vector<RawRecord>& records) const {
        bool found = false;
        for (RawRecord& r : records) {
            if (r.type != kWindow2 || r.data.size() < 2) continue;
            poke16(r.data.data(), windowFlags(peek16(r.data.data())));
            found = true;
        }
        return found;
    }

    RawRecord newWindow() const {
        RawRecord r = record(kWindow2);
        ByteWriter w(r.data);
        w.u16(windowFlags(0x06B4));  // headers, zeros, automatic grid colour, outline symbols
        w.u16(0);                    // top row
        w.u16(0);                    // left column
        w.u32(64);                   // grid colour: automatic
        w.u16(0);                    // zoom in page break preview: default
        w.u16(0);                    // zoom in normal view: default
        w.u32(0);
        return r;
    }

    void writeDimensions() {
        RawRecord r = record(kDimensions);
        ByteWriter w(r.data);
        // The used range (Sheet::usedRange()), from the cells listed once.
        const bool used = !cells_.empty();
        uint16_t firstCol = 0xFFFF, lastCol = 0;
        for (const auto& [address, cell] : cells_) {
            firstCol = std::min(firstCol, address.col);
            lastCol = std::max(lastCol, address.col);
        }
        w.u32(used ? cells_.front().first.row : 0);
        w.u32(used ? cells_.back().first.row + 1u : 0);
        w.u16(used ? firstCol : 0);
        w.u16(used ? static_cast<uint16_t>(lastCol + 1) : 0);
        w.u16(0);
        appendRecord(out_, r);
    }

    // The cells of one row: cells_[begin, end).
    struct RowCells {
        uint16_t row = 0;
        size_t begin = 0;
        size_t end = 0;
    };

    void writeCellTable() {
        std::vector<RowCells> rowsWithCells;
        for (size_t i = 0; i < cells_.size();) {
            RowCells run{cells_[i].first.row, i, i};
            while (run.end < cells_.size() && cells_[run.end].first.row == run.row) ++run.end;
            rowsWithCells.push_back(run);
            i = run.end;
        }
        // A ROW record for each row that has one as read or has cells.
        std::vector<uint16_t> rowIndexes;
        rowIndexes.reserve(sheet_.rows.size() + rowsWithCells.size());
        auto withCells = rowsWithCells.begin();
        for (const auto& [row, info] : sheet_.rows) {
            for (; withCells != rowsWithCells.end() && withCells->row < row; ++withCells)
                rowIndexes.push_back(withCells->row);
            rowIndexes.push_back(row);
            if (withCells != rowsWithCells.end() && withCells->row == row) ++withCells;
        }
        for (; withCells != rowsWithCells.end(); ++withCells) rowIndexes.push_back(withCells->row);

        withCells = rowsWithCells.begin();
        size_t nextCell = 0;
        auto row = rowIndexes.begin();
        while (row != rowIndexes.end()) {
            const uint16_t block = *row / kRowsPerBlock;
            auto blockEnd = row;
            while (blockEnd != rowIndexes.end() && *blockEnd / kRowsPerBlock == block) {
                while (withCells != rowsWithCells.end() && withCells->row < *blockEnd) ++withCells;
                const bool hasCells =
                    withCells != rowsWithCells.end() && withCells->row == *blockEnd;
                writeRow(*blockEnd, hasCells ? &*withCells : nullptr);
                ++blockEnd;
            }
            while (nextCell < cells_.size() &&
                   cells_[nextCell].first.row / kRowsPerBlock == block) {
                writeCell(cells_[nextCell].first, *cells_[nextCell].second);
                ++nextCell;
            }
            row = blockEnd;
        }
    }

    void writeRow(uint16_t row, const RowCells* cells) {
        uint16_t firstCol = 0, lastColPlusOne = 0;
        if (cells) {
            firstCol = cells_[cells->begin].first.col;
            lastColPlusOne = static_cast<uint16_t>(cells_[cells->end - 1].first.col + 1);
        }
        RowInfo info;
        info.heightTwips = sheet_.defaultRowHeightTwips;
        if (auto it = sheet_.rows.find(row); it != sheet_.rows.end()) info = it->second;
        uint32_t flags = info.flags & ~(0x20u | 0x40u | 0x80u);
        flags |= 0x100;
        if (info.hidden) flags |= 0x20;
        if (info.customHeight) flags |= 0x40;
        if (info.xf) flags = (flags & ~0x0FFF0000u) | 0x80 | (uint32_t{*info.xf & 0x0FFFu} << 16);
        RawRecord r = record(kRow);
        ByteWriter w(r.data);
        w.u16(row);
        w.u16(firstCol);
        w.u16(lastColPlusOne);
        w.u16(info.heightTwips & 0x7FFF);
        w.u16(0);
        w.u16(0);
        w.u32(flags);
        appendRecord(out_, r);
    }

    static uint8_t errorByte(ErrorCode e) { return static_cast<uint8_t>(e); }

    // Row, column and XF: how every cell record starts.
    static std::vector<uint8_t> cellStart(const CellAddress& at, uint16_t xf) {
        std::vector<uint8_t> data;
        // Room for the record's usual size at once: a sheet has thousands of
        // cells, and growing from nothing costs four allocations each.
        data.reserve(64);
        ByteWriter w(data);
        w.u16(at.row);
        w.u16(at.col);
        w.u16(xf);
        return data;
    }

    void writeCell(const CellAddress& at, const Cell& cell) {
        if (cell.hasFormula()) {
            writeFormula(at, cell);
            return;
        }
        std::vector<uint8_t> data = cellStart(at, cell.xf);
        ByteWriter w(data);
        const CellValue& v = cell.value;
        auto writeError = [&](ErrorCode e) {
            w.u8(errorByte(e));
            w.u8(1);
            appendRecord(out_, kBoolErr, data);
        };
        switch (v.type) {
            case CellValue::Type::Empty:
                appendRecord(out_, kBlank, data);
                return;
            case CellValue::Type::Text:
                w.u32(strings_.add(v.text));
                appendRecord(out_, kLabelSst, data);
                return;
            case CellValue::Type::Boolean:
                w.u8(v.number != 0 ? 1 : 0);
                w.u8(0);
                appendRecord(out_, kBoolErr, data);
                return;
            case CellValue::Type::Error:
                writeError(v.error);
                return;
            case CellValue::Type::Number: {
                // No file format holds infinities or NaN: show #NUM!.
                if (!std::isfinite(v.number)) return writeError(ErrorCode::Num);
                uint32_t rk = 0;
                if (toRk(v.number, rk)) {
                    w.u32(rk);
                    appendRecord(out_, kRk, data);
                } else {
                    w.f64(v.number);
                    appendRecord(out_, kNumber, data);
                }
                return;
            }
        }
    }

    void writeFormula(const CellAddress& at, const Cell& cell) {
        std::vector<uint8_t> data = cellStart(at, cell.xf);
        ByteWriter w(data);
        const CellValue& v = cell.value;
        bool textResult = false;
        auto special = [&](uint8_t kind, uint8_t value) {
            w.u8(kind);
            w.u8(0);
            w.u8(value);
            w.u8(0);
            w.u8(0);
            w.u8(0);
            w.u16(0xFFFF);
        };
        switch (v.type) {
            case CellValue::Type::Number:
                if (std::isfinite(v.number))
                    w.f64(v.number);
                else
                    special(2, errorByte(ErrorCode::Num));
                break;
            case CellValue::Type::Text:
                textResult = !v.text.empty();
                special(textResult ? 0 : 3, 0);
                break;
            case CellValue::Type::Boolean:
                special(1, v.number != 0 ? 1 : 0);
                break;
            case CellValue::Type::Error:
                special(2, errorByte(v.error));
                break;
            case CellValue::Type::Empty:
                special(3, 0);
                break;
        }
        w.u16(static_cast<uint16_t>((cell.formulaFlags | kAlwaysCalculate) & ~kSharedFormulaFlag));
        w.u32(0);
        w.u16(static_cast<uint16_t>(cell.formula.size()));
        w.bytes(cell.formula);
        w.bytes(cell.formulaExtra);
        if (data.size() > kMaxRecordData || cell.formula.size() > 0xFFFF)
            throw FileFormatError("The formula in row " + std::to_string(at.row + 1) +
                                  " is too long to save.");
        appendRecord(out_, kFormula, data);
        if (textResult) appendStringRecord(out_, v.text);
    }

    const Sheet& sheet_;
    bool active_;
    SharedStringTable& strings_;
    std::vector<std::pair<CellAddress, const Cell*>> cells_;  // row-major
    std::vector<uint8_t> out_;
};

}  // namespace

std::vector<uint8_t> writeSheet(const Sheet& sheet, bool active, SharedStringTable& strings) {
    if (sheet.kind != SheetKind::Worksheet && !sheet.recordsBeforeCells.empty()) {
        // Written back exactly as read, BOF to EOF.
        std::vector<uint8_t> out;
        for (const RawRecord& r : sheet.recordsBeforeCells) appendRecord(out, r);
        return out;
    }
    return SheetWriter(sheet, active, strings).write();
}

}  // namespace tallowby::engine::biff
