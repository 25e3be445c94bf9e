#pragma once

#include <QColor>
#include <cstdint>

#include "workbook/engine/render/rect_filler.h"

namespace tallowby::engine::render {

// Draws one cell border line in a BIFF8 line style (1 thin ... 13 slanted
// dash-dot) along a grid line: horizontal from x0 to x1 at y, or vertical
// from y0 to y1 at x. Thick styles grow to both sides of the grid line.
void drawHorizontalBorder(RectFiller& filler, int x0, int x1, int y, uint8_t style,
                          const QColor& colour);
void drawVerticalBorder(RectFiller& filler, int x, int y0, int y1, uint8_t style,
                        const QColor& colour);

// How many pixels a line of this style reaches past its grid line.
int borderSpread(uint8_t style);

}  // namespace tallowby::engine::render
