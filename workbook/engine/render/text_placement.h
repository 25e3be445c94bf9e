#pragma once

#include <QFontMetricsF>
#include <QRect>

#include "workbook/engine/model/style.h"

namespace tallowby::engine::render {

// Where text goes in its cell: inside the grid lines, less padding and the
// indent on the side it is aligned to.
struct TextBox {
    QRect lines, clip;
    double left = 0, right = 0, width = 0;
};
TextBox textBox(const QRect& lines, HAlign align, int indentLevels);

// Qt alignment flags for wrapped text.
int wrapFlags(HAlign align, VAlign v);
int verticalFlag(VAlign v);

// The baseline of one line of text in a cell with these grid lines.
double baselineFor(VAlign v, const QRect& lines, const QFontMetricsF& metrics);

// The left edge of one line of text that is textWidth wide.
double alignedX(HAlign align, const TextBox& box, double textWidth);

}  // namespace tallowby::engine::render
