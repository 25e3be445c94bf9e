#include "preview/picture_box.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/twips.h"

namespace tallowby::preview {

namespace {
QSize logicalSize(const QImage& picture) {
    const QSizeF size = picture.deviceIndependentSize();
    return QSize(static_cast<int>(std::lround(size.width())),
                 static_cast<int>(std::lround(size.height())));
}

// A transparent surface of the box's size with as many device pixels as the
// screen shows for it.
QImage blankSurface(QSize size, double ratio) {
    QImage surface(QSize(static_cast<int>(std::ceil(size.width() * ratio)),
                         static_cast<int>(std::ceil(size.height() * ratio))),
                   QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(ratio);
    surface.fill(Qt::transparent);
    return surface;
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
        // A picture drawn for a scaled screen counts by its device-independent size.
        const QSize logical = logicalSize(picture);
        width_ = logical.width() * kTwipsPerPixel;
        height_ = logical.height() * kTwipsPerPixel;
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
    move(twipsToPixels(left_), twipsToPixels(top_));
}

void PictureBox::applyGeometry() {
    // Positions may be negative while the picture is panned; sizes never are.
    setGeometry(twipsToPixels(left_), twipsToPixels(top_), std::max(0, twipsToPixels(width_)),
                std::max(0, twipsToPixels(height_)));
    fitSurface();
}

double PictureBox::surfaceRatio() const {
    return devicePixelRatioF();
}

void PictureBox::fitSurface() {
    if (surface_.isNull()) return;
    const double ratio = surfaceRatio();
    if (surface_.deviceIndependentSize() == QSizeF(size()) && surface_.devicePixelRatio() == ratio)
        return;
    // The persistent surface keeps what lies within the new size.
    QImage resized = blankSurface(size(), ratio);
    QPainter painter(&resized);
    painter.drawImage(0, 0, surface_);
    painter.end();
    surface_ = resized;
}

void PictureBox::drawStretched(const QRectF& target, const QImage& picture, const QRectF& source) {
    if (width() == 0 || height() == 0) return;
    if (surface_.isNull())
        surface_ = blankSurface(size(), surfaceRatio());
    else
        fitSurface();
    if (picture.isNull() || source.isEmpty() || target.isEmpty()) {
        update();
        return;
    }
    const double scale = 1.0 / kTwipsPerPixel;
    const QRectF to(target.x() * scale, target.y() * scale, target.width() * scale,
                    target.height() * scale);
    // The source is counted in the picture's own pixels, which may be finer
    // than the screen's logical ones.
    const double sourceScale = scale * picture.devicePixelRatio();
    const QRectF from(source.x() * sourceScale, source.y() * sourceScale,
                      source.width() * sourceScale, source.height() * sourceScale);
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
