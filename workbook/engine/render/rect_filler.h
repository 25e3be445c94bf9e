#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

namespace tallowby::engine::render {

// Fills solid rectangles as QPainter::fillRect does, writing them straight
// into the picture's memory where that gives the same pixels: a wide sheet
// draws tens of thousands of border, grid line and fill rectangles, and the
// painter's work per call costs several times the few pixels each sets.
//
// Straight only while the painter draws into a 32-bit RGB image at one pixel
// per unit, moved by whole pixels at most, without a clip, in source-over
// at full opacity, and only opaque colours; everything else is the painter's.
// The painter's device, transform, composition mode and opacity are read
// once, when the filler is made; whether it clips, at every rectangle.
class RectFiller {
  public:
    explicit RectFiller(QPainter& painter);

    void fill(int x, int y, int width, int height, const QColor& colour);
    void fill(const QRect& rect, const QColor& colour) {
        fill(rect.x(), rect.y(), rect.width(), rect.height(), colour);
    }

    // Whether the rectangles go straight into memory (while nothing clips).
    bool direct() const { return bits_ != nullptr; }

  private:
    QPainter& painter_;
    uchar* bits_ = nullptr;
    qsizetype bytesPerLine_ = 0;
    int width_ = 0;
    int height_ = 0;
    int dx_ = 0;
    int dy_ = 0;
};

}  // namespace tallowby::engine::render
