#include "workbook/engine/formula/token_cursor.h"

#include <cstring>

#include "workbook/engine/common/utf_convert.h"

namespace tallowby::engine::formula {

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

RefPart TokenCursor::readRefPart() {
    const uint16_t row = u16();
    const uint16_t col = u16();
    return refPart(row, col);
}

// A cell is its own first and last; areas store both rows before both columns.
void TokenCursor::readReference(Token& t) {
    if (!ptg::isArea(t.id)) {
        t.first = t.last = readRefPart();
        return;
    }
    const uint16_t r1 = u16(), r2 = u16(), c1 = u16(), c2 = u16();
    t.first = refPart(r1, c1);
    t.last = refPart(r2, c2);
}

// A count, a flags byte, then 8-bit (Latin-1) or UTF-16 characters.
std::string TokenCursor::readString() {
    const uint8_t count = take(1)[0];
    const bool wide = (take(1)[0] & 0x01) != 0;
    auto chars = take(wide ? count * 2u : count);
    std::u16string units(count, u'\0');
    for (size_t i = 0; i < count; ++i)
        units[i] = wide ? static_cast<char16_t>(chars[2 * i] | (chars[2 * i + 1] << 8)) : chars[i];
    return unicode::utf16ToUtf8(units);
}

void TokenCursor::readAttr(Token& t) {
    t.attrOptions = take(1)[0];
    t.attrData = u16();
    // A choose table: one offset per choice plus the one past the end.
    if (t.attrOptions & attr::Choose) take((static_cast<size_t>(t.attrData) + 1) * 2);
}

void TokenCursor::readFuncVar(Token& t) {
    t.argCount = take(1)[0] & 0x7F;
    const uint16_t index = u16();
    t.function = index & 0x7FFF;
    t.commandEquivalent = (index & 0x8000) != 0;
}

// Tokens whose operands nothing reads (operators, names, memory tokens...)
// are stepped over by their size.
void TokenCursor::skipOperands(uint8_t raw, uint8_t id) {
    if (const auto size = ptg::fixedTokenSize(id)) {
        take(*size - 1);
        return;
    }
    static const char* const kHex = "0123456789ABCDEF";
    std::string hex = {kHex[raw >> 4], kHex[raw & 0xF]};
    throw MalformedFormula("formula token 0x" + hex + " is not supported");
}

Token TokenCursor::next() {
    const uint8_t raw = take(1)[0];
    Token t;
    t.id = ptg::baseId(raw);
    switch (t.id) {
        case ptg::Exp:
        case ptg::Tbl:
            t.first = readRefPart();
            break;
        case ptg::Str:
            t.text = readString();
            break;
        case ptg::Attr:
            readAttr(t);
            break;
        case ptg::Err:
            t.error = take(1)[0];
            break;
        case ptg::Bool:
            t.boolean = take(1)[0] != 0;
            break;
        case ptg::Int:
            t.number = u16();
            break;
        case ptg::Num:
            std::memcpy(&t.number, take(8).data(), 8);
            break;
        case ptg::Func:
            t.function = u16();
            break;
        case ptg::FuncVar:
            readFuncVar(t);
            break;
        case ptg::Ref3d:
        case ptg::RefErr3d:
        case ptg::Area3d:
        case ptg::AreaErr3d:
            t.externSheet = u16();
            readReference(t);
            break;
        case ptg::Ref:
        case ptg::RefN:
        case ptg::RefErr:
        case ptg::Area:
        case ptg::AreaN:
        case ptg::AreaErr:
            readReference(t);
            break;
        default:
            skipOperands(raw, t.id);
    }
    return t;
}

}  // namespace tallowby::engine::formula
