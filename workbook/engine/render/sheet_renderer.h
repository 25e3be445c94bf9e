#pragma once

#include <QImage>
#include <QSizeF>
#include <cstddef>
#include <functional>
#include <memory>
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

// The picture renderUsedRange draws, in strips of whole rows, for writing it
// out without holding all of it: a wide sheet's picture is tens of
// megabytes, a strip stays in the processor's cache from drawing to writing.
class UsedRangeStrips {
  public:
    // Throws as renderUsedRange does.
    UsedRangeStrips(const Workbook& workbook, int sheetIndex, const FormatLocale& locale,
                    const RenderOptions& options = {});
    ~UsedRangeStrips();
    UsedRangeStrips(const UsedRangeStrips&) = delete;
    UsedRangeStrips& operator=(const UsedRangeStrips&) = delete;

    // A sheet without cells has no picture.
    bool isEmpty() const;
    // The picture's size in pixels and its resolution, as renderUsedRange's.
    QSize size() const;
    int dotsPerMeter() const;

    // About this many bytes of rows go in a strip: with what they are
    // converted into, they fit a core's cache.
    static constexpr std::size_t kStripBytes = std::size_t{768} << 10;

    // Hands every strip to `take` with the picture row it starts at, from
    // this thread and the picture helper thread at once, in no fixed order.
    // A strip's pixels are those rows of the picture; it is valid during the
    // call only. Strips are cut at row lines, and only at a pixel ratio of 1
    // (else the picture is one strip). False when `take` refuses a strip
    // (the rest are not drawn); throws std::runtime_error when a strip cannot
    // be drawn.
    bool draw(const std::function<bool(const QImage& strip, int top)>& take,
              std::size_t stripBytes = kStripBytes);

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

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
