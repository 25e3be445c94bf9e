#pragma once

#include <QImage>
#include <QSizeF>
#include <optional>

class QPainter;

#include "workbook/engine/model/workbook_model.h"
#include "workbook/engine/numfmt/number_format.h"

namespace tallowby::engine {

struct RenderOptions {
    Rgb gridlineColour = 0xC0C0C0;  // light grey, drawn only when the sheet shows gridlines
    // Larger pictures are refused rather than allocated (about 160 MB here).
    int64_t maxPixels = 40'000'000;
    // Device pixels per drawn pixel (0.25 to 8): 2 gives a picture with twice the pixels
    // in each direction that carries that ratio, for a screen scaled 2x. All
    // geometry stays in 96-dpi pixels.
    double pixelRatio = 1.0;
    // Whether to draw gridlines; by default as the sheet's window shows them.
    std::optional<bool> gridlines;
};

// Draws a sheet's used range, from A1 to the last used row and column (cells,
// formatted blanks included, and merged ranges), as a spreadsheet program
// shows it at 96 dpi: one pixel per grid line, column widths and row heights
// from the sheet, fonts, fills, borders, alignment, wrapping, merged cells,
// values in their number formats, text spilling into empty neighbours, ####
// for numbers that do not fit, and gridlines when the sheet shows them.
// The picture's device-independent size is the same at every pixel ratio.
// Returns a null image for a sheet without cells. Throws std::runtime_error
// for a sheet index that does not exist, a picture too large to allocate,
// or when no QGuiApplication is running (fonts need one).
QImage renderUsedRange(const Workbook& workbook, int sheetIndex, const FormatLocale& locale,
                       const RenderOptions& options = {});

// Draws the cells of `range` with the painter, in 96-dpi pixels from the
// range's top-left grid line at (0, 0), clipped to the range: for pages,
// where the painter's transform maps pixels to the device and text and lines
// stay vectors. Returns the range's size in those pixels.
QSizeF paintSheetRange(QPainter& painter, const Workbook& workbook, int sheetIndex,
                       const FormatLocale& locale, CellRange range,
                       const RenderOptions& options = {});

// The size of a range as paintSheetRange draws it, in 96-dpi pixels.
QSizeF sheetRangeSize(const Workbook& workbook, int sheetIndex, CellRange range);

}  // namespace tallowby::engine
