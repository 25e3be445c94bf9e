#include "workbook/engine/biff/shared_formula.h"

#include "workbook/engine/cfb/little_endian.h"
#include "workbook/engine/common/ptg_table.h"

namespace tallowby::engine::biff {

namespace {

// Relative rows are signed 16-bit offsets, relative columns signed 8-bit
// ones; the result wraps like the sheet does.
class RelativeFixer {
  public:
    RelativeFixer(uint16_t row, uint16_t col) : row_(row), col_(col) {}

    void fixRow(uint8_t* p, bool relative) const {
        if (relative) poke16(p, static_cast<uint16_t>(row_ + static_cast<int16_t>(peek16(p))));
    }
    // Fixes a column field; tells through rowRelative whether the row that
    // goes with it is relative (the flags live in the column field).
    void fixCol(uint8_t* p, bool& rowRelative) const {
        const uint16_t field = peek16(p);
        rowRelative = field & 0x8000;
        if (field & 0x4000) {
            const int8_t offset = static_cast<int8_t>(field & 0xFF);
            const uint16_t absolute = static_cast<uint8_t>(col_ + offset);
            poke16(p, static_cast<uint16_t>((field & 0xC000) | absolute));
        }
    }
    // A reference or an area whose rows start at p + rows and columns follow.
    void fixRef(uint8_t* p, size_t rows) const {
        bool rowRel = false;
        fixCol(p + rows + 2, rowRel);
        fixRow(p + rows, rowRel);
    }
    void fixArea(uint8_t* p, size_t rows) const {
        bool firstRel = false, lastRel = false;
        fixCol(p + rows + 4, firstRel);
        fixCol(p + rows + 6, lastRel);
        fixRow(p + rows, firstRel);
        fixRow(p + rows + 2, lastRel);
    }

  private:
    uint16_t row_, col_;
};

}  // namespace

std::optional<std::vector<uint8_t>> expandSharedFormula(std::span<const uint8_t> tokens,
                                                        uint16_t row, uint16_t col) {
    std::vector<uint8_t> out(tokens.begin(), tokens.end());
    const RelativeFixer fixer(row, col);
    size_t at = 0;
    while (at < out.size()) {
        const auto size = ptg::tokenSize(std::span<const uint8_t>(out).subspan(at));
        if (!size) return std::nullopt;
        uint8_t* p = out.data() + at;
        const uint8_t base = ptg::walkedBaseId(p[0]);
        if (base == ptg::RefN) {  // a relative reference becomes a plain one
            p[0] = ptg::withClassOf(ptg::Ref, p[0]);
            fixer.fixRef(p, 1);
        } else if (base == ptg::AreaN) {
            p[0] = ptg::withClassOf(ptg::Area, p[0]);
            fixer.fixArea(p, 1);
        } else if (base == ptg::Ref3d) {
            fixer.fixRef(p, 3);
        } else if (base == ptg::Area3d) {
            fixer.fixArea(p, 3);
        }
        at += *size;
    }
    return out;
}

}  // namespace tallowby::engine::biff
