#include "workbook/engine/render/picture_rows.h"

#include <gtest/gtest.h>

#include <QColor>
#include <atomic>
#include <new>
#include <vector>

namespace tallowby::engine {
namespace {

using render::fillPicture;
using render::overRows;

TEST(PictureRows, EveryRowIsVisitedOnceSplitOrNot) {
    for (const bool split : {false, true})
        for (const int rows : {0, 1, 2, 7, 1001}) {
            std::vector<std::atomic<int>> visits(static_cast<size_t>(rows));
            EXPECT_TRUE(overRows(rows, split, [&](int begin, int end) {
                for (int r = begin; r < end; ++r) ++visits[static_cast<size_t>(r)];
                return true;
            }));
            for (int r = 0; r < rows; ++r)
                EXPECT_EQ(visits[static_cast<size_t>(r)].load(), 1)
                    << "row " << r << " of " << rows << (split ? " split" : "");
        }
}

TEST(PictureRows, AFailingOrOutOfMemoryHalfFailsTheWhole) {
    EXPECT_FALSE(overRows(10, true, [](int begin, int) { return begin != 0; }));
    EXPECT_FALSE(overRows(10, true, [](int begin, int) { return begin == 0; }));
    EXPECT_FALSE(overRows(10, true, [](int begin, int) -> bool {
        if (begin != 0) throw std::bad_alloc();
        return true;
    }));
    EXPECT_FALSE(overRows(10, false, [](int, int) -> bool { throw std::bad_alloc(); }));
}

TEST(PictureRows, FillIsWhatQtFills) {
    // Small and big (split) pictures, a row length with padding in a view
    // of a wider buffer, and a picture with alpha that Qt fills itself.
    for (const QSize size : {QSize(7, 3), QSize(1500, 1000)}) {
        QImage ours(size, QImage::Format_RGB32), qts(size, QImage::Format_RGB32);
        ours.fill(Qt::black);
        fillPicture(ours, qRgb(0x12, 0x34, 0x56));
        qts.fill(QColor(0x12, 0x34, 0x56));
        EXPECT_TRUE(ours == qts) << size.width();
    }
    std::vector<uchar> wide(64 * 10, 0);
    QImage view(wide.data(), 9, 10, 64, QImage::Format_RGB32);
    fillPicture(view, qRgb(255, 255, 255));
    EXPECT_EQ(view.pixel(8, 9), qRgb(255, 255, 255));
    EXPECT_EQ(wide[9 * 4], 0) << "the bytes past a row's pixels stay as they were";

    QImage withAlpha(5, 5, QImage::Format_ARGB32);
    fillPicture(withAlpha, qRgb(1, 2, 3));
    EXPECT_EQ(withAlpha.pixel(4, 4), qRgb(1, 2, 3));
}

}  // namespace
}  // namespace tallowby::engine
