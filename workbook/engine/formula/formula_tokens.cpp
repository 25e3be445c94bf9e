#include "workbook/engine/formula/formula_tokens.h"

#include <cstring>

namespace tallowby::engine::formula {
namespace {

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::span<const uint8_t> TokenCursor::take(size_t n) {
    if (bytes_.size() - pos_ < n)
        throw MalformedFormula("formula tokens end in the middle of a token");
    auto part = bytes_.subspan(pos_, n);
    pos_ += n;
    return part;
}

uint16_t TokenCursor::u16() {
    auto b = take(2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

RefPart TokenCursor::refPart(uint16_t row, uint16_t colWord) const {
    RefPart p;
    p.row = row;
    p.col = static_cast<uint8_t>(colWord & 0xFF);
    p.colRelative = (colWord & 0x4000) != 0;
    p.rowRelative = (colWord & 0x8000) != 0;
    return p;
}

Token TokenCursor::next() {
    const uint8_t raw = take(1)[0];
    Token t;
    t.id = (raw & 0x60) ? static_cast<uint8_t>((raw & 0x1F) | 0x20) : raw;
    switch (t.id) {
        case ptg::Exp:
        case ptg::Tbl: {
            const uint16_t row = u16();
            const uint16_t col = u16();
            t.first = refPart(row, col);
            break;
        }
        case ptg::Add:
        case ptg::Sub:
        case ptg::Mul:
        case ptg::Div:
        case ptg::Power:
        case ptg::Concat:
        case ptg::Lt:
        case ptg::Le:
        case ptg::Eq:
        case ptg::Ge:
        case ptg::Gt:
        case ptg::Ne:
        case ptg::Isect:
        case ptg::Union:
        case ptg::Range:
        case ptg::Uplus:
        case ptg::Uminus:
        case ptg::Percent:
        case ptg::Paren:
        case ptg::MissArg:
            break;
        case ptg::Str: {
            const uint8_t count = take(1)[0];
            const bool wide = (take(1)[0] & 0x01) != 0;
            auto chars = take(wide ? count * 2u : count);
            for (size_t i = 0; i < count; ++i) {
                uint32_t cp =
                    wide ? static_cast<uint32_t>(chars[2 * i] | (chars[2 * i + 1] << 8)) : chars[i];
                if (wide && cp >= 0xD800 && cp < 0xDC00 && i + 1 < count) {
                    const uint32_t low =
                        static_cast<uint32_t>(chars[2 * i + 2] | (chars[2 * i + 3] << 8));
                    if (low >= 0xDC00 && low < 0xE000) {
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                        ++i;
                    }
                }
                if (cp >= 0xD800 && cp < 0xE000) cp = 0xFFFD;  // a lone surrogate
                appendUtf8(t.text, cp);
            }
            break;
        }
        case ptg::Attr: {
            t.attrOptions = take(1)[0];
            t.attrData = u16();
            // A choose table: one offset per choice plus the one past the end.
            if (t.attrOptions & attr::Choose) take((static_cast<size_t>(t.attrData) + 1) * 2);
            break;
        }
        case ptg::Err:
            t.error = take(1)[0];
            break;
        case ptg::Bool:
            t.boolean = take(1)[0] != 0;
            break;
        case ptg::Int:
            t.number = u16();
            break;
        case ptg::Num: {
            auto b = take(8);
            std::memcpy(&t.number, b.data(), 8);
            break;
        }
        case ptg::Array:
            take(7);
            break;
        case ptg::Func:
            t.function = u16();
            break;
        case ptg::FuncVar: {
            t.argCount = take(1)[0] & 0x7F;
            const uint16_t index = u16();
            t.function = index & 0x7FFF;
            t.commandEquivalent = (index & 0x8000) != 0;
            break;
        }
        case ptg::Name:
            take(4);
            break;
        case ptg::Ref:
        case ptg::RefN:
        case ptg::RefErr: {
            const uint16_t row = u16();
            const uint16_t col = u16();
            t.first = t.last = refPart(row, col);
            break;
        }
        case ptg::Area:
        case ptg::AreaN:
        case ptg::AreaErr: {
            const uint16_t r1 = u16(), r2 = u16(), c1 = u16(), c2 = u16();
            t.first = refPart(r1, c1);
            t.last = refPart(r2, c2);
            break;
        }
        case ptg::MemArea:
        case ptg::MemErr:
        case ptg::MemNoMem:
            take(6);
            break;
        case ptg::MemFunc:
            take(2);
            break;
        case ptg::NameX:
            take(6);
            break;
        case ptg::Ref3d:
        case ptg::RefErr3d: {
            t.externSheet = u16();
            const uint16_t row = u16();
            const uint16_t col = u16();
            t.first = t.last = refPart(row, col);
            break;
        }
        case ptg::Area3d:
        case ptg::AreaErr3d: {
            t.externSheet = u16();
            const uint16_t r1 = u16(), r2 = u16(), c1 = u16(), c2 = u16();
            t.first = refPart(r1, c1);
            t.last = refPart(r2, c2);
            break;
        }
        default: {
            static const char* const kHex = "0123456789ABCDEF";
            std::string hex = {kHex[raw >> 4], kHex[raw & 0xF]};
            throw MalformedFormula("formula token 0x" + hex + " is not supported");
        }
    }
    return t;
}

}  // namespace tallowby::engine::formula
