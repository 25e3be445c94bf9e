// Form2: moving the picture by dragging it and with the two scroll bars.

#include <QScrollBar>

#include "app/guarded.h"
#include "app/report_locations.h"
#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "preview/scroll_math.h"
#include "ui/error_report_box.h"

namespace tallowby {

void PreviewWindow::onPicturePressed(Qt::MouseButtons, float x, float y) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPicturePressed,
              error_report::shownOver(this));
    g.run(100, [&] { downX_ = x; });
    g.run(102, [&] { downY_ = y; });
}

void PreviewWindow::onPictureMoved(Qt::MouseButtons buttons, float x, float y) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPictureMoved,
              error_report::shownOver(this));
    if (!g.test(100, [&] { return buttons != Qt::NoButton; })) return;
    float newLeft = picture_->leftTwips();
    float newTop = picture_->topTwips();
    g.run(104, [&] {
        newLeft = preview::dragPosition(picture_->leftTwips(), downX_, x,
                                        static_cast<float>(picture_->widthTwips()),
                                        preview::kViewportInnerWidth);
    });
    g.run(114, [&] {
        newTop = preview::dragPosition(picture_->topTwips(), downY_, y,
                                       static_cast<float>(picture_->heightTwips()),
                                       preview::kViewportInnerHeight);
    });
    g.run(124, [&] { picture_->moveTwips(newLeft, newTop); });
}

void PreviewWindow::onPictureReleased(Qt::MouseButtons, float, float) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kPictureReleased,
              error_report::shownOver(this));
    std::optional<int> hPercent;
    std::optional<int> vPercent;
    g.run(100, [&] {
        hPercent = preview::releasePercent(picture_->leftTwips(),
                                           static_cast<float>(picture_->widthTwips()),
                                           preview::kViewportOuterWidth);
    });
    g.run(102, [&] {
        vPercent = preview::releasePercent(picture_->topTwips(),
                                           static_cast<float>(picture_->heightTwips()),
                                           preview::kViewportOuterHeight);
    });
    // A picture exactly as large as the viewport has no range to measure
    // against: its bar is left as it is.
    g.run(104, [&] {
        if (hPercent) setHScrollByPercent(hScroll_, *hPercent);
    });
    g.run(106, [&] {
        if (vPercent) setVScrollByPercent(vScroll_, *vPercent);
    });
}

namespace {
void setBarByPercent(QScrollBar* bar, int percent) {
    const std::optional<int> value = preview::barValueForPercent(percent, bar->maximum());
    if (value) bar->setValue(*value);
}
}  // namespace

void PreviewWindow::setHScrollByPercent(QScrollBar* bar, int percent) {
    setBarByPercent(bar, percent);
}

void PreviewWindow::setVScrollByPercent(QScrollBar* bar, int percent) {
    setBarByPercent(bar, percent);
}

void PreviewWindow::onHScrollChanged() {
    picture_->setLeftTwips(
        static_cast<float>(preview::positionForBarValue(hStep_, hScroll_->value())));
}

void PreviewWindow::onVScrollChanged() {
    picture_->setTopTwips(
        static_cast<float>(preview::positionForBarValue(vStep_, vScroll_->value())));
}

}  // namespace tallowby
