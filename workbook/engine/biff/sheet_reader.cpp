#include "workbook/engine/biff/sheet_reader.h"

#include <cstring>
#include <map>
#include <optional>

#include "workbook/engine/biff/page_setup_records.h"
#include "workbook/engine/biff/record_reader.h"
#include "workbook/engine/biff/record_types.h"
#include "workbook/engine/biff/shared_formula.h"
#include "workbook/engine/cfb/file_format_error.h"
#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

namespace {

constexpr uint16_t kMaxColumn = 255;
constexpr uint16_t kSharedFormulaFlag = 0x0008;

double decodeRk(uint32_t rk) {
    double value;
    if (rk & 0x02) {
        value = static_cast<int32_t>(rk) >> 2;
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

bool isCellBlockRecord(uint16_t type) {
    switch (type) {
        case kDimensions:
        case kRow:
        case kBlank:
        case kMulBlank:
        case kNumber:
        case kRk:
        case kMulRk:
        case kLabel:
        case kLabelSst:
        case kRString:
        case kBoolErr:
        case kFormula:
        case kString:
        case kSharedFormula:
        case kArray:
        case kTable:
        case kDbCell:
            return true;
        default:
            return false;
    }
}

struct SharedFormula {
    std::vector<uint8_t> tokens, extra;
};

class SheetReader {
  public:
    SheetReader(std::span<const uint8_t> stream, const SheetEntry& entry,
                const std::vector<std::string>& strings)
        : records_(stream, entry.offset), entry_(entry), strings_(strings) {}

    Sheet read() {
        sheet_.name = entry_.name;
        sheet_.kind = static_cast<SheetKind>(entry_.kind);
        sheet_.visibility = entry_.visibility;
        const Record bof = next();
        if (bof.type != kBof || bof.data.size() < 4)
            throw FileFormatError("The workbook file is damaged: the sheet \"" + entry_.name +
                                  "\" is not where the sheet list says.");
        const uint16_t kind = peek16(bof.data.data() + 2);
        if (entry_.kind != 0 || kind != kBofWorksheet) {
            keepWhole(bof);
            return std::move(sheet_);
        }
        sheet_.statesDefaultColWidth = sheet_.statesDefaultRowHeight = false;
        readRecords();
        resolveSharedFormulas();
        sheet_.pageSetup = readPageSetup(sheet_.recordsBeforeCells);
        return std::move(sheet_);
    }

  private:
    Record next() {
        if (records_.atEnd())
            throw FileFormatError("The workbook file is damaged: the sheet \"" + entry_.name +
                                  "\" ends early.");
        return records_.next();
    }

    static RawRecord raw(const Record& r) {
        return RawRecord{r.type, {r.data.begin(), r.data.end()}};
    }

    // A chart or macro sheet: every record from BOF to its EOF, nested ones included.
    void keepWhole(const Record& bof) {
        sheet_.recordsBeforeCells.push_back(raw(bof));
        int depth = 1;
        while (depth > 0) {
            const Record r = next();
            if (r.type == kBof) ++depth;
            if (r.type == kEof) --depth;
            sheet_.recordsBeforeCells.push_back(raw(r));
        }
    }

    void keep(const Record& r) {
        (sawCells_ ? sheet_.recordsAfterCells : sheet_.recordsBeforeCells).push_back(raw(r));
    }

    void readRecords() {
        int depth = 0;
        bool lastKept = false;
        while (true) {
            const Record r = next();
            if (depth > 0 || r.type == kBof) {
                // An embedded chart's substream: kept whole, not interpreted.
                if (r.type == kBof) ++depth;
                if (r.type == kEof) --depth;
                keep(r);
                lastKept = true;
                continue;
            }
            if (r.type == kEof) return;
            if (isCellBlockRecord(r.type)) {
                sawCells_ = true;
                readCellRecord(r);
                lastKept = false;
                continue;
            }
            const bool continuesKept = lastKept;
            lastKept = false;
            // In a sheet without cells these open the part after the cell table.
            if (r.type == kWindow2 || r.type == 0x00EC || r.type == 0x005D || r.type == 0x001C)
                sawCells_ = true;
            switch (r.type) {
                case kIndex:
                    break;  // rebuilt, or left out, on write
                case kDefaultRowHeight: {
                    FieldReader f(r.data, "DEFAULTROWHEIGHT");
                    sheet_.defaultRowFlags = f.u16();
                    sheet_.defaultRowHeightTwips = f.u16();
                    sheet_.statesDefaultRowHeight = true;
                    break;
                }
                case kDefColWidth:
                    sheet_.defaultColWidthChars = FieldReader(r.data, "DEFCOLWIDTH").u16();
                    sheet_.statesDefaultColWidth = true;
                    break;
                case kStandardWidth:
                    sheet_.standardWidth = FieldReader(r.data, "STANDARDWIDTH").u16();
                    break;
                case kColInfo:
                    readColumnInfo(r);
                    break;
                case kMergedCells:
                    readMerges(r);
                    break;
                case kWindow2:
                    if (r.data.size() >= 2) {
                        const uint16_t flags = peek16(r.data.data());
                        sheet_.showGridlines = flags & 0x0002;
                        sheet_.selected = flags & 0x0200;
                    }
                    keep(r);
                    lastKept = true;
                    break;
                case kContinue:
                    // Belongs to the record before it: kept with a kept one.
                    if (continuesKept) keep(r);
                    lastKept = continuesKept;
                    break;
                default:
                    keep(r);
                    lastKept = true;
            }
        }
    }

    Cell& cellAt(FieldReader& f, uint16_t& row, uint16_t& col) {
        row = f.u16();
        col = f.u16();
        checkColumn(f, col);
        return sheet_.at(row, col);
    }

    static void checkColumn(const FieldReader& f, uint16_t col) {
        if (col > kMaxColumn) f.fail("names a column beyond IV");
    }

    // The fields every single-cell record starts with: row, column, XF. A
    // later record replaces the cell as a whole.
    Cell& startCell(FieldReader& f, uint16_t& row, uint16_t& col) {
        Cell& c = cellAt(f, row, col);
        c = Cell{};
        c.xf = f.u16();
        return c;
    }
    Cell& startCell(FieldReader& f) {
        uint16_t row = 0, col = 0;
        return startCell(f, row, col);
    }

    // MULRK and MULBLANK: cells side by side in one row, `unit` bytes each
    // (XF first), the last column after them.
    template <typename ReadValue>
    void readCellRun(const Record& r, const char* name, size_t unit, ReadValue readValue) {
        FieldReader f(r.data, name);
        const uint16_t row = f.u16();
        const uint16_t col = f.u16();
        const size_t count = (f.remaining() >= 2 ? f.remaining() - 2 : 0) / unit;
        for (size_t i = 0; i < count; ++i) {
            const uint16_t c = static_cast<uint16_t>(col + i);
            checkColumn(f, c);
            Cell cell;
            cell.xf = f.u16();
            readValue(f, cell);
            sheet_.at(row, c) = std::move(cell);
        }
    }

    // A record of one cell whose value follows its XF.
    template <typename ReadValue>
    void readValueCell(const Record& r, const char* name, ReadValue readValue) {
        FieldReader f(r.data, name);
        Cell& c = startCell(f);
        c.value = readValue(f);
    }

    CellValue sharedString(FieldReader& f) const {
        const uint32_t index = f.u32();
        if (index >= strings_.size()) f.fail("refers to a shared string that does not exist");
        return CellValue::fromText(strings_[index]);
    }

    static CellValue boolOrError(FieldReader& f) {
        const uint8_t value = f.u8();
        return f.u8() ? CellValue::fromError(errorFromCode(value))
                      : CellValue::fromBool(value != 0);
    }

    void readCellRecord(const Record& r) {
        switch (r.type) {
            case kNumber:
                readValueCell(r, "NUMBER",
                              [](FieldReader& f) { return CellValue::fromNumber(f.f64()); });
                break;
            case kRk:
                readValueCell(r, "RK", [](FieldReader& f) {
                    return CellValue::fromNumber(decodeRk(f.u32()));
                });
                break;
            case kMulRk:
                readCellRun(r, "MULRK", 6, [](FieldReader& f, Cell& cell) {
                    cell.value = CellValue::fromNumber(decodeRk(f.u32()));
                });
                break;
            case kLabelSst:
                readValueCell(r, "LABELSST", [this](FieldReader& f) { return sharedString(f); });
                break;
            case kLabel:
            case kRString:
                readValueCell(r, "LABEL", [](FieldReader& f) {
                    return CellValue::fromText(f.unicodeString());
                });
                break;
            case kBoolErr:
                readValueCell(r, "BOOLERR", boolOrError);
                break;
            case kBlank:
                readValueCell(r, "BLANK", [](FieldReader&) { return CellValue{}; });
                break;
            case kMulBlank:
                readCellRun(r, "MULBLANK", 2, [](FieldReader&, Cell&) {});
                break;
            case kFormula:
                readFormula(r);
                break;
            case kString:
                readString(r);
                break;
            case kSharedFormula:
                readSharedFormula(r);
                break;
            case kRow:
                readRow(r);
                break;
            default:
                break;  // DIMENSIONS, DBCELL, ARRAY, TABLE: rebuilt or not kept
        }
    }

    // The text result of the formula just before it, continued if long.
    void readString(const Record& r) {
        std::vector<std::span<const uint8_t>> fragments{r.data};
        while (records_.peekType() == kContinue) fragments.push_back(records_.next().data);
        FieldReader f(std::move(fragments), "STRING");
        const std::string text = f.unicodeString();
        if (pendingString_)
            sheet_.at(pendingString_->row, pendingString_->col).value = CellValue::fromText(text);
        pendingString_.reset();
    }

    void readSharedFormula(const Record& r) {
        FieldReader f(r.data, "SHRFMLA");
        const uint16_t firstRow = f.u16();
        f.u16();
        const uint8_t firstCol = f.u8();
        f.skip(3);
        const uint16_t length = f.u16();
        SharedFormula shared;
        shared.tokens = f.bytes(length);
        shared.extra = f.rest();
        shared_[CellAddress{firstRow, firstCol}] = std::move(shared);
    }

    void readFormula(const Record& r) {
        FieldReader f(r.data, "FORMULA");
        uint16_t row = 0, col = 0;
        Cell& c = startCell(f, row, col);
        const auto result = f.bytes(8);
        c.formulaFlags = f.u16();
        f.skip(4);
        const uint16_t length = f.u16();
        c.formula = f.bytes(length);
        c.formulaExtra = f.rest();
        pendingString_.reset();
        if (result[6] == 0xFF && result[7] == 0xFF) {
            switch (result[0]) {
                case 0:
                    pendingString_ = CellAddress{row, col};
                    c.value = CellValue::fromText("");
                    break;
                case 1:
                    c.value = CellValue::fromBool(result[2] != 0);
                    break;
                case 2:
                    c.value = CellValue::fromError(errorFromCode(result[2]));
                    break;
                default:
                    c.value = CellValue::fromText("");
                    break;
            }
        } else {
            c.value = CellValue::fromNumber(peekDouble(result.data()));
        }
        if (c.formula.size() == 5 && (c.formula[0] == 0x01 || c.formula[0] == 0x02))
            anchored_.emplace_back(
                CellAddress{row, col},
                CellAddress{peek16(c.formula.data() + 1), peek16(c.formula.data() + 3)});
        else if (c.formula.empty())
            c.formulaFlags = 0;  // a formula without tokens is kept as its value
    }

    // Cells of a shared formula get tokens of their own; array and table
    // formulas keep only their results.
    void resolveSharedFormulas() {
        for (const auto& [cell, anchor] : anchored_) {
            Cell* c = const_cast<Cell*>(sheet_.find(cell.row, cell.col));
            if (!c || c->formula.size() != 5) continue;  // replaced by a later record
            auto it = shared_.find(anchor);
            std::optional<std::vector<uint8_t>> tokens;
            if (it != shared_.end())
                tokens = expandSharedFormula(it->second.tokens, cell.row, cell.col);
            if (tokens && !tokens->empty()) {
                c->formula = std::move(*tokens);
                c->formulaExtra = it->second.extra;
                c->formulaFlags &= static_cast<uint16_t>(~kSharedFormulaFlag);
            } else {
                c->formula.clear();
                c->formulaExtra.clear();
                c->formulaFlags = 0;
            }
        }
    }

    void readRow(const Record& r) {
        FieldReader f(r.data, "ROW");
        const uint16_t row = f.u16();
        f.skip(4);
        RowInfo info;
        info.heightTwips = f.u16() & 0x7FFF;
        f.skip(4);
        info.flags = f.u32();
        info.hidden = info.flags & 0x20;
        info.customHeight = info.flags & 0x40;
        if (info.flags & 0x80) info.xf = static_cast<uint16_t>((info.flags >> 16) & 0x0FFF);
        sheet_.rows[row] = info;
    }

    void readColumnInfo(const Record& r) {
        FieldReader f(r.data, "COLINFO");
        ColumnInfo info;
        info.firstCol = f.u16();
        info.lastCol = std::min<uint16_t>(f.u16(), kMaxColumn);
        info.width = f.u16();
        info.xf = f.u16();
        info.flags = f.u16();
        if (info.firstCol > info.lastCol) return;  // wholly beyond the sheet
        sheet_.columns.push_back(info);
    }

    void readMerges(const Record& r) {
        FieldReader f(r.data, "MERGEDCELLS");
        const uint16_t count = f.u16();
        for (uint16_t i = 0; i < count; ++i) {
            CellRange m;
            m.firstRow = f.u16();
            m.lastRow = f.u16();
            m.firstCol = f.u16();
            m.lastCol = f.u16();
            if (m.firstRow > m.lastRow || m.firstCol > m.lastCol || m.lastCol > kMaxColumn)
                f.fail("holds an impossible range");
            sheet_.merges.push_back(m);
        }
    }

    RecordReader records_;
    const SheetEntry& entry_;
    const std::vector<std::string>& strings_;
    Sheet sheet_;
    bool sawCells_ = false;
    std::optional<CellAddress> pendingString_;
    std::vector<std::pair<CellAddress, CellAddress>> anchored_;
    std::map<CellAddress, SharedFormula> shared_;
};

}  // namespace

Sheet readSheet(std::span<const uint8_t> stream, const SheetEntry& entry,
                const std::vector<std::string>& sharedStrings) {
    return SheetReader(stream, entry, sharedStrings).read();
}

}  // namespace tallowby::engine::biff
