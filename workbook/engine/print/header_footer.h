#pragma once

#include <string>

namespace tallowby::engine::print {

// What the &-codes of a header or footer stand for on one page.
struct HeaderFooterContext {
    int page = 1;
    int pages = 1;
    std::string date;       // &D, as the locale writes a short date
    std::string time;       // &T
    std::string fileName;   // &F
    std::string sheetName;  // &A
};

// The three parts of a header or footer line, codes replaced.
struct HeaderFooterText {
    std::string left, centre, right;
    bool empty() const { return left.empty() && centre.empty() && right.empty(); }
    bool operator==(const HeaderFooterText&) const = default;
};

// Splits a header or footer into its &L, &C and &R parts (text before any
// section code is centred) and replaces &P, &N, &D, &T, &F, &A and &&. Font
// codes (&"name,style", &nn size, &B, &I, &U, &S, &E, &X, &Y) are dropped:
// the line is drawn in the sheet's default font.
HeaderFooterText expandHeaderFooter(const std::string& codes, const HeaderFooterContext& context);

}  // namespace tallowby::engine::print
