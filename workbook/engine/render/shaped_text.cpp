#include "workbook/engine/render/shaped_text.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintEngine>
#include <QTextLayout>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace tallowby::engine::render {

namespace {

// Enough for every text of the widest timesheet; past it the cache starts
// over rather than keeping track of what was used last.
constexpr qsizetype kMostTexts = 8192;

// Word-wrapped text laid out in a rectangle of a given size, placed from its
// top-left corner.
struct WrappedText {
    QList<QGlyphRun> runs;
    QRectF bounds;  // what the lines cover
};

// What a wrapped text's lines depend on.
struct WrapKey {
    QString font;
    QString text;
    double width;
    double height;
    int flags;
    bool operator==(const WrapKey&) const = default;
};

size_t qHash(const WrapKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.font, key.text, key.width, key.height, key.flags);
}

struct ShapeCache {
    QHash<QString, QHash<QString, ShapedText>> byFont;
    QHash<WrapKey, WrappedText> wrapped;
    qsizetype texts = 0;

    // Counts one more text kept; a full cache starts over first.
    void makeRoom() {
        if (texts >= kMostTexts) {
            byFont.clear();
            wrapped.clear();
            texts = 0;
        }
        ++texts;
    }
};

ShapeCache& threadCache() {
    thread_local ShapeCache cache;
    // Glyphs hold fonts, which must not outlive the application: the main
    // thread's shapes go with it (other threads' go when the thread ends).
    thread_local bool watched = false;
    if (!watched) {
        watched = true;
        if (QCoreApplication::instance() &&
            QThread::currentThread() == QCoreApplication::instance()->thread())
            qAddPostRoutine([] { threadCache() = ShapeCache{}; });
    }
    return cache;
}

bool onlyLeftToRight(const QString& text) {
    for (const QChar c : text) {
        switch (c.direction()) {
            case QChar::DirR:
            case QChar::DirAL:
            case QChar::DirAN:
            case QChar::DirRLE:
            case QChar::DirRLO:
            case QChar::DirRLI:
            case QChar::DirFSI:
                return false;
            default:
                break;
        }
    }
    return true;
}

ShapedText shape(const QFont& font, const QString& text) {
    ShapedText shaped;
    shaped.onlyLeftToRight = onlyLeftToRight(text);
    shaped.width = QFontMetricsF(font).horizontalAdvance(text);
    QTextLayout layout(text, font);
    // QPainter::drawText lays a line out left to right unless told otherwise.
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return shaped;
    const double ascent = line.ascent();
    shaped.runs = layout.glyphRuns();
    for (QGlyphRun& run : shaped.runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions) p.ry() -= ascent;
        run.setPositions(positions);
    }
    return shaped;
}

// What QPainter::drawText(QRectF, flags, text) lays out for a left-to-right
// text: the text's line breaks, lines filled word by word to the rectangle's
// width, each on a whole pixel below the last with the font's leading
// between, no more lines once the rectangle is full; then the block and
// each line aligned in the rectangle.
WrappedText layOutWrapped(const QFont& font, QString text, QSizeF size, int flags) {
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft);
    layout.setTextOption(option);
    const double leading = QFontMetricsF(font).leading();
    double height = -leading;
    double width = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(std::max(0.0, size.width()));
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        width = std::max(width, line.naturalTextWidth());
        if (height >= size.height()) break;
    }
    layout.endLayout();
    double top = 0;
    if (flags & Qt::AlignBottom)
        top = size.height() - height;
    else if (flags & Qt::AlignVCenter)
        top = (size.height() - height) / 2;
    double left = 0;
    if (flags & Qt::AlignRight)
        left = size.width() - width;
    else if (flags & Qt::AlignHCenter)
        left = (size.width() - width) / 2;
    WrappedText wrapped;
    wrapped.bounds = QRectF(left, top, width, height);
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        double x = 0;
        if (flags & Qt::AlignRight)
            x = size.width() - line.horizontalAdvance();
        else if (flags & Qt::AlignHCenter)
            x = (size.width() - line.horizontalAdvance()) / 2;
        for (QGlyphRun run : line.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions) p += QPointF(x, top);
            run.setPositions(positions);
            wrapped.runs.push_back(run);
        }
    }
    return wrapped;
}

// Texts laid out as above: only left to right, without the characters
// drawText gives a meaning of their own (tabs, carriage returns, the
// length-variant separator) and without justified lines.
bool wrapsLikeText(const QString& text, int flags) {
    if ((flags & Qt::AlignJustify) || !(flags & Qt::TextWordWrap) ||
        (flags & ~(Qt::TextWordWrap | Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)) ||
        !onlyLeftToRight(text))
        return false;
    for (const QChar c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c.unicode() == 0x9c) return false;
    return true;
}

}  // namespace

const ShapedText& shapedText(const QFont& font, const QString& fontKey, const QString& text) {
    ShapeCache& cache = threadCache();
    if (const auto kept = cache.byFont.constFind(fontKey); kept != cache.byFont.constEnd())
        if (const auto found = kept->constFind(text); found != kept->constEnd()) return *found;
    cache.makeRoom();
    return *cache.byFont[fontKey].insert(text, shape(font, text));
}

bool drawsShapedLikeText(const QPainter& painter, const QFont& font) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster && !font.underline() &&
           !font.strikeOut() && !font.overline();
}

void drawWrappedText(QPainter& painter, const QRectF& rect, int flags, const QFont& font,
                     const QString& fontKey, const QString& text) {
    if (!drawsShapedLikeText(painter, font) || !wrapsLikeText(text, flags))
        return painter.drawText(rect, flags, text);
    ShapeCache& cache = threadCache();
    const WrapKey key{fontKey, text, rect.width(), rect.height(), flags};
    auto found = cache.wrapped.constFind(key);
    if (found == cache.wrapped.constEnd()) {
        cache.makeRoom();
        found = cache.wrapped.insert(key, layOutWrapped(font, text, rect.size(), flags));
    }
    // Lines past the rectangle are cut at its edges.
    const bool clip = !QRectF(QPointF(0, 0), rect.size()).contains(found->bounds);
    if (clip) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
    }
    for (const QGlyphRun& run : found->runs) painter.drawGlyphRun(rect.topLeft(), run);
    if (clip) painter.restore();
}

void drawShaped(QPainter& painter, QPointF origin, const ShapedText& shaped) {
    for (const QGlyphRun& run : shaped.runs) painter.drawGlyphRun(origin, run);
}

void drawTextLine(QPainter& painter, QPointF origin, const QFont& font, const QString& fontKey,
                  const QString& text) {
    if (drawsShapedLikeText(painter, font)) {
        const ShapedText& shaped = shapedText(font, fontKey, text);
        if (shaped.onlyLeftToRight) return drawShaped(painter, origin, shaped);
    }
    painter.drawText(origin, text);
}

}  // namespace tallowby::engine::render
