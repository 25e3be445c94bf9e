#include "workbook/engine/render/shaped_text.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintEngine>
#include <QTextLayout>
#include <QThread>

namespace tallowby::engine::render {

namespace {

// Enough for every text of the widest timesheet; past it the cache starts
// over rather than keeping track of what was used last.
constexpr qsizetype kMostTexts = 8192;

struct ShapeCache {
    QHash<QString, QHash<QString, ShapedText>> byFont;
    qsizetype texts = 0;
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

}  // namespace

const ShapedText& shapedText(const QFont& font, const QString& fontKey, const QString& text) {
    ShapeCache& cache = threadCache();
    QHash<QString, ShapedText>& texts = cache.byFont[fontKey];
    if (const auto found = texts.constFind(text); found != texts.constEnd()) return *found;
    if (cache.texts >= kMostTexts) {
        cache.byFont.clear();
        cache.texts = 0;
        return *cache.byFont[fontKey].insert(text, shape(font, text));
    }
    ++cache.texts;
    return *texts.insert(text, shape(font, text));
}

bool drawsShapedLikeText(const QPainter& painter, const QFont& font) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster && !font.underline() &&
           !font.strikeOut() && !font.overline();
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
