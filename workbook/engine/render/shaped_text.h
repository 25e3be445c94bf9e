#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPainter>
#include <QString>

namespace tallowby::engine::render {

// One line of text shaped once: its advance as QFontMetricsF measures it, and
// its glyphs placed with the baseline at y = 0.
struct ShapedText {
    double width = 0;
    QList<QGlyphRun> runs;
    // Text with right-to-left characters is placed by QPainter::drawText
    // item by item, not always where a layout puts it: it is drawn from the text.
    bool onlyLeftToRight = true;
};

// Shaping is most of what a picture's texts cost, and a sheet repeats its
// texts (0.00, the headings) from cell to cell and from one run to the next.
// So each thread keeps the shapes it made, by font and text, a few thousand
// at most; `fontKey` is the font's QFont::key().
const ShapedText& shapedText(const QFont& font, const QString& fontKey, const QString& text);

// Whether `painter` draws shaped glyphs exactly as it draws the text itself:
// only into raster images, where glyphs become pixels; a PDF or a printer
// keeps the characters behind the glyphs only when given the text. Fonts with
// lines through or under the text keep Qt's own drawing of those lines.
bool drawsShapedLikeText(const QPainter& painter, const QFont& font);

// Draws `shaped` with its baseline starting at `origin`, in the painter's
// font and pen.
void drawShaped(QPainter& painter, QPointF origin, const ShapedText& shaped);

// Draws `text` in `font` (the painter's) as QPainter::drawText(origin, text)
// does, from the kept shape where that gives the same result.
void drawTextLine(QPainter& painter, QPointF origin, const QFont& font, const QString& fontKey,
                  const QString& text);

// Draws `text` in `font` (the painter's) as QPainter::drawText(rect, flags,
// text) does, word-wrapped into the rectangle. A wide sheet repeats its
// wrapped headings in every rate column, and laying them out each time is
// most of what they cost: the lines are kept per thread, by font, text,
// rectangle size and flags, where that gives the same result.
void drawWrappedText(QPainter& painter, const QRectF& rect, int flags, const QFont& font,
                     const QString& fontKey, const QString& text);

}  // namespace tallowby::engine::render
