// Preview window: moving the picture by dragging it and with the two scroll bars.

#include <QScrollBar>

#include "app/guarded.h"
#include "app/report_locations.h"
#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "preview/scroll_math.h"
#include "ui/error_report_box.h"

namespace tallowby::preview {

void PreviewWindow::onPicturePressed(Qt::MouseButtons, float x, float y) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPicturePressed,
              error_report_box::shownOver(this));
    g.run(100, [&] { downX_ = x; });
    g.run(102, [&] { downY_ = y; });
}

void PreviewWindow::onPictureMoved(Qt::MouseButtons buttons, float x, float y) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPictureMoved,
              error_report_box::shownOver(this));
    if (!g.test(100, [&] { return buttons != Qt::NoButton; })) return;
    float newLeft = picture_->leftTwips();
    float newTop = picture_->topTwips();
    g.run(104, [&] { newLeft = dragPositionAlong(Qt::Horizontal, downX_, x); });
    g.run(114, [&] { newTop = dragPositionAlong(Qt::Vertical, downY_, y); });
    g.run(124, [&] { picture_->moveTwips(newLeft, newTop); });
}

void PreviewWindow::onPictureReleased(Qt::MouseButtons, float, float) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPictureReleased,
              error_report_box::shownOver(this));
    std::optional<int> hPercent;
    std::optional<int> vPercent;
    g.run(100, [&] { hPercent = releasePercentAlong(Qt::Horizontal); });
    g.run(102, [&] { vPercent = releasePercentAlong(Qt::Vertical); });
    // A picture exactly as large as the viewport has no range to measure
    // against: its bar is left as it is.
    g.run(104, [&] {
        if (hPercent) setBarByPercent(hScroll_, *hPercent);
    });
    g.run(106, [&] {
        if (vPercent) setBarByPercent(vScroll_, *vPercent);
    });
}

float PreviewWindow::dragPositionAlong(Qt::Orientation axis, float grab, float pointer) const {
    const bool horizontal = axis == Qt::Horizontal;
    return dragPosition(
        horizontal ? picture_->leftTwips() : picture_->topTwips(), grab, pointer,
        static_cast<float>(horizontal ? picture_->widthTwips() : picture_->heightTwips()),
        horizontal ? viewportInnerWidth() : viewportInnerHeight());
}

std::optional<int> PreviewWindow::releasePercentAlong(Qt::Orientation axis) const {
    const bool horizontal = axis == Qt::Horizontal;
    return releasePercent(
        horizontal ? picture_->leftTwips() : picture_->topTwips(),
        static_cast<float>(horizontal ? picture_->widthTwips() : picture_->heightTwips()),
        horizontal ? viewportOuterWidth() : viewportOuterHeight());
}

void PreviewWindow::setBarByPercent(QScrollBar* bar, int percent) {
    const std::optional<int> value = barValueForPercent(percent, bar->maximum());
    if (value) bar->setValue(*value);
}

void PreviewWindow::onScrollChanged(Qt::Orientation axis) {
    if (axis == Qt::Horizontal)
        picture_->setLeftTwips(static_cast<float>(positionForBarValue(hStep_, hScroll_->value())));
    else
        picture_->setTopTwips(static_cast<float>(positionForBarValue(vStep_, vScroll_->value())));
}

}  // namespace tallowby::preview
