#include "workbook/engine/edit/reference_shift.h"

#include "workbook/engine/formula/token_cursor.h"

namespace tallowby::engine::edit {

namespace {

namespace ptg = engine::ptg;

uint16_t readU16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

void writeCol(std::vector<uint8_t>& b, size_t at, int col) {
    // The relative flags live in the top bits of the column word.
    const uint16_t word = static_cast<uint16_t>((readU16(b, at) & 0xC000) | col);
    b[at] = static_cast<uint8_t>(word & 0xFF);
    b[at + 1] = static_cast<uint8_t>(word >> 8);
}

bool onSheet(int col) {
    return col >= 0 && col <= kLastColumn;
}

}  // namespace

void moveColumns(std::vector<uint8_t>& tokens, bool plainRefsApply,
                 const std::function<bool(uint16_t externSheet)>& externApplies,
                 const ColumnMove& move) {
    formula::TokenCursor cursor(tokens);
    while (!cursor.atEnd()) {
        const size_t at = cursor.position();
        const formula::Token t = cursor.next();
        const bool threeD = t.id == ptg::Ref3d || t.id == ptg::Area3d;
        const bool plain = t.id == ptg::Ref || t.id == ptg::Area;
        if (!threeD && !plain) continue;
        if (plain && !plainRefsApply) continue;
        if (threeD && !(externApplies && externApplies(t.externSheet))) continue;
        // Operands start after the ptg byte, and after the extern-sheet index of a 3-D token.
        const size_t operands = at + 1 + (threeD ? 2 : 0);
        const bool isArea = t.id == ptg::Area || t.id == ptg::Area3d;
        if (!isArea) {
            const auto col = move.single(t.first.col, t.first.colRelative);
            if (col && onSheet(*col))
                writeCol(tokens, operands + 2, *col);
            else  // off the sheet: the #REF! form, its class bits kept
                tokens[at] = ptg::withClassOf(threeD ? ptg::RefErr3d : ptg::RefErr, tokens[at]);
            continue;
        }
        const auto cols =
            move.area(t.first.col, t.first.colRelative, t.last.col, t.last.colRelative);
        if (cols && onSheet(cols->first) && onSheet(cols->second)) {
            writeCol(tokens, operands + 4, cols->first);
            writeCol(tokens, operands + 6, cols->second);
        } else {
            tokens[at] = ptg::withClassOf(threeD ? ptg::AreaErr3d : ptg::AreaErr, tokens[at]);
        }
    }
}

ColumnMove insertionMove(int before, int count) {
    ColumnMove m;
    m.single = [=](int col, bool) -> std::optional<int> {
        return col >= before ? col + count : col;
    };
    m.area = [=](int first, bool, int last, bool) -> std::optional<std::pair<int, int>> {
        if (first >= before) {
            // Moved as a whole; an area pushed partly off the sheet keeps what stays on it.
            if (first + count > kLastColumn) return std::nullopt;
            return std::pair{first + count, std::min(last + count, kLastColumn)};
        }
        if (last >= before) return std::pair{first, std::min(last + count, kLastColumn)};
        return std::pair{first, last};
    };
    return m;
}

ColumnMove copyMove(int distance) {
    ColumnMove m;
    m.single = [=](int col, bool relative) -> std::optional<int> {
        return relative ? col + distance : col;
    };
    m.area = [=](int first, bool firstRelative, int last,
                 bool lastRelative) -> std::optional<std::pair<int, int>> {
        return std::pair{firstRelative ? first + distance : first,
                         lastRelative ? last + distance : last};
    };
    return m;
}

}  // namespace tallowby::engine::edit
