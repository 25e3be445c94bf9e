#include "workbook/engine/render/rect_filler.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <vector>

namespace tallowby::engine {
namespace {

using render::RectFiller;

struct Fill {
    QRect rect;
    QColor colour;
};

// Rectangles inside, across every edge, wholly outside, one pixel wide or
// tall, empty and of negative size, in opaque and translucent colours.
std::vector<Fill> fills() {
    std::vector<Fill> all;
    const QColor colours[] = {QColor(0x1f, 0x4e, 0x79), QColor(255, 255, 255), QColor(0, 0, 0),
                              QColor(200, 10, 30, 128)};
    int k = 0;
    for (int x : {-40, -3, 0, 5, 37, 61, 200})
        for (int y : {-30, -1, 0, 9, 23, 44, 150})
            for (QSize size : {QSize(1, 17), QSize(23, 1), QSize(9, 6), QSize(70, 50), QSize(0, 5),
                               QSize(-4, 3), QSize(3, -6)})
                all.push_back({QRect(QPoint(x, y), size), colours[k++ % 4]});
    return all;
}

// The picture drawn once by QPainter::fillRect and once by the filler, with
// the same setup; whether the filler wrote straight into memory.
struct Drawn {
    QImage painted;
    QImage filled;
    bool direct = false;
};

Drawn drawBoth(QImage::Format format, const std::function<void(QPainter&)>& setUp) {
    Drawn d;
    for (QImage* image : {&d.painted, &d.filled}) {
        *image = QImage(64, 48, format);
        image->fill(qRgb(250, 240, 230));
    }
    {
        QPainter painter(&d.painted);
        setUp(painter);
        for (const Fill& f : fills()) painter.fillRect(f.rect, f.colour);
    }
    {
        QPainter painter(&d.filled);
        setUp(painter);
        RectFiller filler(painter);
        d.direct = filler.direct();
        for (const Fill& f : fills()) filler.fill(f.rect, f.colour);
    }
    return d;
}

TEST(RectFiller, FillsStraightIntoTheImageWhatThePainterFills) {
    const std::function<void(QPainter&)> straight[] = {
        [](QPainter&) {},
        [](QPainter& p) { p.translate(0, -17); },  // a strip of a picture
        [](QPainter& p) { p.translate(-13, 21); },
        [](QPainter& p) { p.setRenderHint(QPainter::Antialiasing); },
    };
    int n = 0;
    for (const auto& setUp : straight) {
        const Drawn d = drawBoth(QImage::Format_RGB32, setUp);
        EXPECT_TRUE(d.direct) << "setup " << n;
        EXPECT_EQ(d.filled, d.painted) << "setup " << n;
        ++n;
    }
}

TEST(RectFiller, LeavesToThePainterWhatItCannotFillAlike) {
    const std::function<void(QPainter&)> others[] = {
        [](QPainter& p) { p.scale(1.5, 1.5); },
        [](QPainter& p) { p.translate(0.5, 0); },
        [](QPainter& p) { p.rotate(10); },
        [](QPainter& p) { p.setClipRect(QRect(5, 5, 30, 20)); },
        [](QPainter& p) { p.setOpacity(0.5); },
        [](QPainter& p) { p.setCompositionMode(QPainter::CompositionMode_Xor); },
    };
    int n = 0;
    for (const auto& setUp : others) {
        const Drawn d = drawBoth(QImage::Format_RGB32, setUp);
        EXPECT_EQ(d.filled, d.painted) << "setup " << n;
        ++n;
    }
    // Only clipping can change while the filler is in use; it is checked per
    // rectangle, the rest once.
    for (QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB888}) {
        const Drawn d = drawBoth(format, [](QPainter&) {});
        EXPECT_FALSE(d.direct) << format;
        EXPECT_EQ(d.filled, d.painted) << format;
    }
    QImage doubled(64, 48, QImage::Format_RGB32);
    doubled.setDevicePixelRatio(2);
    QPainter painter(&doubled);
    EXPECT_FALSE(RectFiller(painter).direct());
}

TEST(RectFiller, AClipSetLaterGoesToThePainter) {
    QImage painted(40, 30, QImage::Format_RGB32), filled(40, 30, QImage::Format_RGB32);
    painted.fill(Qt::white);
    filled.fill(Qt::white);
    const QRect clip(10, 5, 12, 9), rect(0, 0, 40, 30);
    {
        QPainter p(&painted);
        p.setClipRect(clip);
        p.fillRect(rect, Qt::blue);
    }
    {
        QPainter p(&filled);
        RectFiller filler(p);
        ASSERT_TRUE(filler.direct());
        p.setClipRect(clip);
        filler.fill(rect, QColor(Qt::blue));
        p.setClipping(false);
        filler.fill(QRect(0, 0, 3, 3), QColor(Qt::red));
    }
    {
        QPainter p(&painted);
        p.fillRect(QRect(0, 0, 3, 3), Qt::red);
    }
    EXPECT_EQ(filled, painted);
}

}  // namespace
}  // namespace tallowby::engine
