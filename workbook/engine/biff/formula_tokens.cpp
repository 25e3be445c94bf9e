#include "workbook/engine/biff/formula_tokens.h"

#include "workbook/engine/cfb/little_endian.h"

namespace tallowby::engine::biff {

namespace {

std::optional<size_t> fixedOperandSize(uint8_t ptg) {
    if (ptg >= 0x20) {
        switch (ptg & 0x1F) {
            case 0x00:
                return 8;  // array (its values live after the tokens)
            case 0x01:
                return 3;  // function
            case 0x02:
                return 4;  // function with argument count
            case 0x03:
                return 5;  // name
            case 0x04:
                return 5;  // reference
            case 0x05:
                return 9;  // area
            case 0x06:
                return 7;  // memory area
            case 0x07:
                return 7;  // memory error
            case 0x08:
                return 7;  // memory without memory
            case 0x09:
                return 3;  // memory function
            case 0x0A:
                return 5;  // reference error
            case 0x0B:
                return 9;  // area error
            case 0x0C:
                return 5;  // relative reference (shared formulas)
            case 0x0D:
                return 9;  // relative area
            case 0x19:
                return 7;  // external name
            case 0x1A:
                return 7;  // 3-D reference
            case 0x1B:
                return 11;  // 3-D area
            case 0x1C:
                return 7;  // 3-D reference error
            case 0x1D:
                return 11;  // 3-D area error
            default:
                return std::nullopt;
        }
    }
    switch (ptg) {
        case 0x01:
        case 0x02:
            return 5;  // array / table anchor
        case 0x1C:
        case 0x1D:
            return 2;  // error, boolean
        case 0x1E:
            return 3;  // integer
        case 0x1F:
            return 9;  // number
        default:
            if (ptg >= 0x03 && ptg <= 0x16) return 1;  // operators, parentheses, missing argument
            return std::nullopt;
    }
}

}  // namespace

std::optional<size_t> tokenSize(std::span<const uint8_t> t) {
    if (t.empty()) return std::nullopt;
    const uint8_t ptg = t[0];
    size_t size = 0;
    if (ptg == 0x17) {  // string constant: count, flags, characters
        if (t.size() < 3) return std::nullopt;
        size = 3 + size_t{t[1]} * ((t[2] & 0x01) ? 2 : 1);
    } else if (ptg == 0x19) {  // attribute; a choose table adds its jump offsets
        if (t.size() < 4) return std::nullopt;
        size = 4;
        if (t[1] & 0x04) size += (size_t{peek16(t.data() + 2)} + 1) * 2;
    } else if (auto fixed = fixedOperandSize(ptg)) {
        size = *fixed;
    } else {
        return std::nullopt;
    }
    if (size > t.size()) return std::nullopt;
    return size;
}

std::optional<std::vector<uint8_t>> expandSharedFormula(std::span<const uint8_t> tokens,
                                                        uint16_t row, uint16_t col) {
    std::vector<uint8_t> out(tokens.begin(), tokens.end());
    // Relative rows are signed 16-bit offsets, relative columns signed 8-bit
    // ones; the result wraps like the sheet does.
    auto fixRow = [&](uint8_t* p, bool relative) {
        if (relative) poke16(p, static_cast<uint16_t>(row + static_cast<int16_t>(peek16(p))));
    };
    auto fixCol = [&](uint8_t* p, bool& rowRel) {
        const uint16_t field = peek16(p);
        rowRel = field & 0x8000;
        if (field & 0x4000) {
            const int8_t offset = static_cast<int8_t>(field & 0xFF);
            const uint16_t absolute = static_cast<uint8_t>(col + offset);
            poke16(p, static_cast<uint16_t>((field & 0xC000) | absolute));
        }
    };
    size_t at = 0;
    while (at < out.size()) {
        const auto size = tokenSize(std::span<const uint8_t>(out).subspan(at));
        if (!size) return std::nullopt;
        uint8_t* p = out.data() + at;
        const uint8_t base = p[0] >= 0x20 ? (p[0] & 0x1F) : 0xFF;
        bool rowRel = false;
        if (base == 0x0C) {  // relative reference becomes a plain one
            p[0] = static_cast<uint8_t>((p[0] & 0x60) | 0x04);
            fixCol(p + 3, rowRel);
            fixRow(p + 1, rowRel);
        } else if (base == 0x0D) {
            p[0] = static_cast<uint8_t>((p[0] & 0x60) | 0x05);
            bool lastRel = false;
            fixCol(p + 5, rowRel);
            fixCol(p + 7, lastRel);
            fixRow(p + 1, rowRel);
            fixRow(p + 3, lastRel);
        } else if (base == 0x1A) {
            fixCol(p + 5, rowRel);
            fixRow(p + 3, rowRel);
        } else if (base == 0x1B) {
            bool lastRel = false;
            fixCol(p + 7, rowRel);
            fixCol(p + 9, lastRel);
            fixRow(p + 3, rowRel);
            fixRow(p + 5, lastRel);
        }
        at += *size;
    }
    return out;
}

}  // namespace tallowby::engine::biff
