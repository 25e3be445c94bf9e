#include "workbook/engine/biff/print_area_name.h"

#include "workbook/engine/biff/record_reader.h"
#include "workbook/engine/cfb/little_endian.h"
#include "workbook/engine/common/ptg_table.h"

namespace tallowby::engine::biff {

namespace {
constexpr uint16_t kBuiltInFlag = 0x0020;
constexpr uint8_t kPrintAreaCode = 0x06;
}  // namespace

std::optional<PrintAreaName> readPrintAreaName(std::span<const uint8_t> data) {
    FieldReader r(data, "NAME");
    const uint16_t flags = r.u16();
    r.skip(1);  // keyboard shortcut
    const uint8_t nameLength = r.u8();
    const uint16_t formulaLength = r.u16();
    r.skip(2);
    const uint16_t itab = r.u16();
    r.skip(4);
    if (!(flags & kBuiltInFlag) || nameLength != 1 || itab == 0) return std::nullopt;
    const bool wide = r.u8() & 0x01;
    const uint16_t code = wide ? r.u16() : r.u8();
    if (code != kPrintAreaCode) return std::nullopt;
    const auto tokens = r.bytes(std::min<size_t>(formulaLength, r.remaining()));
    // Walk to the first 3-D area; a union of areas lists them after a memory-function token.
    size_t at = 0;
    while (at < tokens.size()) {
        const auto size = ptg::tokenSize(std::span<const uint8_t>(tokens).subspan(at));
        if (!size) return std::nullopt;
        if (ptg::walkedBaseId(tokens[at]) == ptg::Area3d) {
            const uint8_t* p = tokens.data() + at;
            CellRange range{peek16(p + 3), peek16(p + 5),
                            static_cast<uint16_t>(peek16(p + 7) & 0xFF),
                            static_cast<uint16_t>(peek16(p + 9) & 0xFF)};
            if (range.firstRow > range.lastRow || range.firstCol > range.lastCol)
                return std::nullopt;
            return PrintAreaName{static_cast<uint16_t>(itab - 1), range};
        }
        at += *size;
    }
    return std::nullopt;
}

std::vector<uint8_t> printAreaNameRecord(uint16_t sheetIndex, uint16_t externSheetIndex,
                                         const CellRange& range) {
    std::vector<uint8_t> out;
    ByteWriter w(out);
    w.u16(kBuiltInFlag);
    w.u8(0);    // no keyboard shortcut
    w.u8(1);    // one character: the built-in code
    w.u16(11);  // formula length
    w.u16(0);
    w.u16(static_cast<uint16_t>(sheetIndex + 1));  // local to the sheet, counted from 1
    w.u32(0);
    w.u8(0);  // 8-bit characters
    w.u8(kPrintAreaCode);
    w.u8(ptg::Area3d);  // reference class
    w.u16(externSheetIndex);
    w.u16(range.firstRow);
    w.u16(range.lastRow);
    w.u16(range.firstCol);
    w.u16(range.lastCol);
    return out;
}

}  // namespace tallowby::engine::biff
