#include "preview/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "preview/zoom_math.h"

namespace tallowby::preview {

int twipsToPixels(double twips) {
    const int pixels = roundHalfEven(twips / kTwipsPerPixel);
    return pixels < 0 ? 0 : pixels;
}

namespace {
int positionPixels(float twips) {
    return roundHalfEven(static_cast<double>(twips) / kTwipsPerPixel);
}
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    applyGeometry();
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    surface_ = QImage();
    if (autoSize_) {
        width_ = picture.width() * kTwipsPerPixel;
        height_ = picture.height() * kTwipsPerPixel;
        applyGeometry();
    }
    update();
}

void PictureBox::clearPicture() {
    picture_ = QImage();
    surface_ = QImage();
    update();
}

void PictureBox::setBackground(const QColor& colour) {
    background_ = colour;
    update();
}

void PictureBox::setLeftTwips(float left) {
    moveTwips(left, top_);
}
void PictureBox::setTopTwips(float top) {
    moveTwips(left_, top);
}

void PictureBox::setWidthTwips(int width) {
    width_ = width < 0 ? 0 : width;
    applyGeometry();
}

void PictureBox::setHeightTwips(int height) {
    height_ = height < 0 ? 0 : height;
    applyGeometry();
}

void PictureBox::moveTwips(float left, float top) {
    left_ = left;
    top_ = top;
    move(positionPixels(left_), positionPixels(top_));
}

void PictureBox::applyGeometry() {
    setGeometry(positionPixels(left_), positionPixels(top_), twipsToPixels(width_),
                twipsToPixels(height_));
    fitSurface();
}

void PictureBox::fitSurface() {
    if (surface_.isNull()) return;
    if (surface_.size() == size()) return;
    // The persistent surface keeps what lies within the new size.
    QImage resized(size(), QImage::Format_ARGB32_Premultiplied);
    resized.fill(Qt::transparent);
    QPainter painter(&resized);
    painter.drawImage(0, 0, surface_);
    painter.end();
    surface_ = resized;
}

void PictureBox::drawStretched(const QRectF& target, const QImage& picture, const QRectF& source) {
    if (width() == 0 || height() == 0) return;
    if (surface_.isNull() || surface_.size() != size()) {
        if (surface_.isNull()) {
            surface_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
            surface_.fill(Qt::transparent);
        } else {
            fitSurface();
        }
    }
    if (picture.isNull() || source.isEmpty() || target.isEmpty()) {
        update();
        return;
    }
    const double scale = 1.0 / kTwipsPerPixel;
    const QRectF to(target.x() * scale, target.y() * scale, target.width() * scale,
                    target.height() * scale);
    const QRectF from(source.x() * scale, source.y() * scale, source.width() * scale,
                      source.height() * scale);
    QPainter painter(&surface_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(to, picture, from);
    painter.end();
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), background_);
    if (!picture_.isNull()) painter.drawImage(0, 0, picture_);
    if (!surface_.isNull()) painter.drawImage(0, 0, surface_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position() * kTwipsPerPixel;
    emit mousePressed(event->buttons(), static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position() * kTwipsPerPixel;
    emit mouseMoved(event->buttons(), static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position() * kTwipsPerPixel;
    emit mouseReleased(event->button() | event->buttons(), static_cast<float>(at.x()),
                       static_cast<float>(at.y()));
}

}  // namespace tallowby::preview
