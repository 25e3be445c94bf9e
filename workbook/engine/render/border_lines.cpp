#include "workbook/engine/render/border_lines.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace tallowby::engine::render {
namespace {

struct LineStyle {
    std::vector<int> offsets;  // perpendicular pixel offsets from the grid line that carry ink
    std::vector<int> dashes;   // on, off, on, off... lengths; empty = solid
};

LineStyle makeLineStyle(uint8_t style) {
    switch (style) {
        case 1:
            return {{0}, {}};  // thin
        case 2:
            return {{0, 1}, {}};  // medium
        case 3:
            return {{0}, {3, 1}};  // dashed
        case 4:
            return {{0}, {1, 1}};  // dotted
        case 5:
            return {{-1, 0, 1}, {}};  // thick
        case 6:
            return {{-1, 1}, {}};  // double
        case 7:
            return {{0}, {1, 1}};  // hair
        case 8:
            return {{0, 1}, {9, 3}};  // medium dashed
        case 9:
            return {{0}, {9, 3, 3, 3}};  // dash-dot
        case 10:
            return {{0, 1}, {9, 3, 3, 3}};  // medium dash-dot
        case 11:
            return {{0}, {9, 3, 3, 3, 3, 3}};  // dash-dot-dot
        case 12:
            return {{0, 1}, {9, 3, 3, 3, 3, 3}};  // medium dash-dot-dot
        case 13:
            return {{0, 1}, {11, 1, 5, 1}};  // slanted dash-dot
        default:
            return {{}, {}};
    }
}

// Made once: a wide sheet draws tens of thousands of borders.
const LineStyle& lineStyle(uint8_t style) {
    static const std::array<LineStyle, 14> styles = [] {
        std::array<LineStyle, 14> all;
        for (uint8_t i = 0; i < all.size(); ++i) all[i] = makeLineStyle(i);
        return all;
    }();
    static const LineStyle none;
    return style < styles.size() ? styles[style] : none;
}

// Calls `run(start, length)` for each inked run along a line of `length` pixels.
template <typename Run>
void forEachDash(const std::vector<int>& dashes, int length, Run run) {
    if (dashes.empty()) {
        run(0, length);
        return;
    }
    int at = 0;
    for (size_t i = 0; at < length; i = (i + 1) % dashes.size()) {
        const int n = std::min(dashes[i], length - at);
        if (i % 2 == 0) run(at, n);
        at += dashes[i];
    }
}

}  // namespace

void drawHorizontalBorder(RectFiller& filler, int x0, int x1, int y, uint8_t style,
                          const QColor& colour) {
    const LineStyle& s = lineStyle(style);
    for (int offset : s.offsets)
        forEachDash(s.dashes, x1 - x0 + 1,
                    [&](int start, int n) { filler.fill(x0 + start, y + offset, n, 1, colour); });
}

void drawVerticalBorder(RectFiller& filler, int x, int y0, int y1, uint8_t style,
                        const QColor& colour) {
    const LineStyle& s = lineStyle(style);
    for (int offset : s.offsets)
        forEachDash(s.dashes, y1 - y0 + 1,
                    [&](int start, int n) { filler.fill(x + offset, y0 + start, 1, n, colour); });
}

int borderSpread(uint8_t style) {
    int spread = 0;
    for (int offset : lineStyle(style).offsets) spread = std::max(spread, std::abs(offset));
    return spread;
}

}  // namespace tallowby::engine::render
