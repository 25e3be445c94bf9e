// Form2: moving the picture by dragging it and with the two scroll bars.

#include <QScrollBar>

#include "app/guarded.h"
#include "preview/form2.h"
#include "preview/picture_box.h"
#include "preview/scroll_math.h"

namespace tallowby {

namespace {
const QString kModule = QStringLiteral("Form2");
}

void Form2::picture1_MouseDown(Qt::MouseButtons, float x, float y) {
    Guarded g(kModule, QStringLiteral("picture1_MouseDown"), this);
    g.run(100, [&] { mDownX = x; });
    g.run(102, [&] { mDownY = y; });
}

void Form2::picture1_MouseMove(Qt::MouseButtons buttons, float x, float y) {
    Guarded g(kModule, QStringLiteral("picture1_MouseMove"), this);
    if (!g.test(100, [&] { return buttons != Qt::NoButton; })) return;
    float newLeft = Picture1->leftTwips();
    float newTop = Picture1->topTwips();
    g.run(104, [&] {
        newLeft = preview::dragPosition(Picture1->leftTwips(), mDownX, x,
                                        static_cast<float>(Picture1->widthTwips()),
                                        preview::kViewportInnerWidth);
    });
    g.run(114, [&] {
        newTop = preview::dragPosition(Picture1->topTwips(), mDownY, y,
                                       static_cast<float>(Picture1->heightTwips()),
                                       preview::kViewportInnerHeight);
    });
    g.run(124, [&] { Picture1->moveTwips(newLeft, newTop); });
}

void Form2::Picture1_MouseUp(Qt::MouseButtons, float, float) {
    Guarded g(kModule, QStringLiteral("Picture1_MouseUp"), this);
    std::optional<int> hPercent;
    std::optional<int> vPercent;
    g.run(100, [&] {
        hPercent = preview::releasePercent(Picture1->leftTwips(),
                                           static_cast<float>(Picture1->widthTwips()),
                                           preview::kViewportOuterWidth);
    });
    g.run(102, [&] {
        vPercent = preview::releasePercent(Picture1->topTwips(),
                                           static_cast<float>(Picture1->heightTwips()),
                                           preview::kViewportOuterHeight);
    });
    // A picture exactly as large as the viewport has no range to measure
    // against: its bar is left as it is.
    g.run(104, [&] {
        if (hPercent) SetHScrollbarByPercent(HScroll1, *hPercent);
    });
    g.run(106, [&] {
        if (vPercent) SetVScrollbarByPercent(VScroll1, *vPercent);
    });
}

namespace {
void setBarByPercent(QScrollBar* bar, int percent) {
    const std::optional<int> value = preview::barValueForPercent(percent, bar->maximum());
    if (value) bar->setValue(*value);
}
}  // namespace

void Form2::SetHScrollbarByPercent(QScrollBar* HScrollbar, int percent) {
    setBarByPercent(HScrollbar, percent);
}

void Form2::SetVScrollbarByPercent(QScrollBar* VScrollbar, int percent) {
    setBarByPercent(VScrollbar, percent);
}

void Form2::HScroll1_Change() {
    Picture1->setLeftTwips(
        static_cast<float>(preview::positionForBarValue(mHStep, HScroll1->value())));
}

void Form2::VScroll1_Change() {
    Picture1->setTopTwips(
        static_cast<float>(preview::positionForBarValue(mVStep, VScroll1->value())));
}

}  // namespace tallowby
