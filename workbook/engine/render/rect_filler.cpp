#include "workbook/engine/render/rect_filler.h"

#include <QImage>
#include <QPaintEngine>
#include <QTransform>
#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallowby::engine::render {

namespace {

// The compiler stores one pixel at a time here; four at a time keeps a
// heading row's fill from costing more than the painter did.
void fillPixels(quint32* at, long long count, quint32 pixel) {
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(pixel));
    for (; count >= 4; count -= 4, at += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(at), four);
#endif
    for (; count > 0; --count) *at++ = pixel;
}

}  // namespace

RectFiller::RectFiller(QPainter& painter) : painter_(painter) {
    if (!painter.isActive() || !painter.paintEngine() ||
        painter.paintEngine()->type() != QPaintEngine::Raster || !painter.device() ||
        painter.device()->devType() != QInternal::Image)
        return;
    auto* const image = static_cast<QImage*>(painter.device());
    const QTransform t = painter.deviceTransform();
    if (image->format() != QImage::Format_RGB32 || image->devicePixelRatio() != 1.0 ||
        t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()) || std::abs(t.dx()) > 1e6 || std::abs(t.dy()) > 1e6 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.opacity() != 1.0)
        return;
    bits_ = image->bits();
    bytesPerLine_ = image->bytesPerLine();
    width_ = image->width();
    height_ = image->height();
    dx_ = static_cast<int>(t.dx());
    dy_ = static_cast<int>(t.dy());
}

void RectFiller::fill(int x, int y, int width, int height, const QColor& colour) {
    // Qt turns rectangles of negative size around; those few go to it.
    if (!bits_ || width <= 0 || height <= 0 || colour.spec() != QColor::Rgb ||
        colour.alpha() != 255 || painter_.hasClipping())
        return painter_.fillRect(x, y, width, height, colour);
    // In the picture's pixels, cut to the picture; 64-bit sums, as a damaged
    // sheet's sizes may be anything.
    const long long left = std::max<long long>(0, static_cast<long long>(x) + dx_);
    const long long top = std::max<long long>(0, static_cast<long long>(y) + dy_);
    const long long right = std::min<long long>(width_, static_cast<long long>(x) + dx_ + width);
    const long long bottom = std::min<long long>(height_, static_cast<long long>(y) + dy_ + height);
    if (left >= right || top >= bottom) return;
    const quint32 pixel = 0xff000000u | colour.rgb();
    for (long long row = top; row < bottom; ++row) {
        auto* const line = reinterpret_cast<quint32*>(bits_ + bytesPerLine_ * row);
        fillPixels(line + left, right - left, pixel);
    }
}

}  // namespace tallowby::engine::render
