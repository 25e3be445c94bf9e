#include "workbook/engine/render/picture_memory.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <thread>

namespace tallowby::engine {
namespace {

using render::keptPictureBytes;
using render::newPicture;

// 1200 x 1000 pixels of 32 bits: past the size that pictures are pooled from.
constexpr int kBigWidth = 1200, kBigHeight = 1000;
static_assert(std::size_t{kBigWidth} * kBigHeight * 4 >= render::kPooledPictureBytes);

TEST(PictureMemory, SmallAndOtherFormatsArePlainPictures) {
    const QImage small = newPicture(300, 200, QImage::Format_RGB32);
    EXPECT_EQ(small.size(), QSize(300, 200));
    EXPECT_EQ(small.format(), QImage::Format_RGB32);
    const QImage grey = newPicture(4000, 4000, QImage::Format_Grayscale8);
    EXPECT_EQ(grey.size(), QSize(4000, 4000));
    EXPECT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_TRUE(newPicture(0, 10, QImage::Format_RGB32).isNull());
}

TEST(PictureMemory, BigPictureCanBeDrawnOnAndReadBack) {
    QImage picture = newPicture(kBigWidth, kBigHeight, QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(kBigWidth, kBigHeight));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.fillRect(10, 20, 30, 40, QColor(0x11, 0x22, 0x33));
    }
    EXPECT_EQ(picture.pixel(10, 20), qRgb(0x11, 0x22, 0x33));
    EXPECT_EQ(picture.pixel(39, 59), qRgb(0x11, 0x22, 0x33));
    EXPECT_EQ(picture.pixel(kBigWidth - 1, kBigHeight - 1), qRgb(255, 255, 255));
}

// The memory of a freed big picture serves the next one, and only once every
// copy of the first is gone.
TEST(PictureMemory, FreedMemoryIsKeptForTheNextPictureOnly) {
    const uchar* first = nullptr;
    {
        QImage picture = newPicture(kBigWidth, kBigHeight, QImage::Format_RGB32);
        ASSERT_FALSE(picture.isNull());
        first = picture.constBits();
        const std::size_t keptBefore = keptPictureBytes();
        {
            QImage copy = picture;  // shares the pixels
            picture = QImage();
            EXPECT_EQ(keptPictureBytes(), keptBefore) << "a copy still uses the memory";
            EXPECT_EQ(copy.constBits(), first);
        }
        EXPECT_GE(keptPictureBytes(), std::size_t{kBigWidth} * kBigHeight * 4);
    }
    QImage next = newPicture(kBigWidth, kBigHeight - 10, QImage::Format_RGB32);
    EXPECT_EQ(next.constBits(), first);
    EXPECT_EQ(keptPictureBytes(), 0u);
    // Another big picture while that one lives gets memory of its own.
    QImage other = newPicture(kBigWidth, kBigHeight, QImage::Format_RGB32);
    ASSERT_FALSE(other.isNull());
    EXPECT_NE(other.constBits(), next.constBits());
}

TEST(PictureMemory, ChangingACopyLeavesTheOriginalAlone) {
    QImage picture = newPicture(kBigWidth, kBigHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QImage copy = picture;
    copy.setPixel(5, 5, qRgb(1, 2, 3));
    EXPECT_EQ(picture.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(copy.pixel(5, 5), qRgb(1, 2, 3));
}

// A picture handed to another thread may be freed there.
TEST(PictureMemory, PictureFreedOnAnotherThread) {
    QImage picture = newPicture(kBigWidth, kBigHeight, QImage::Format_RGB32);
    const uchar* bits = picture.constBits();
    std::thread([p = std::move(picture)]() mutable { p = QImage(); }).join();
    const QImage next = newPicture(kBigWidth, kBigHeight, QImage::Format_RGB32);
    EXPECT_EQ(next.constBits(), bits);
}

}  // namespace
}  // namespace tallowby::engine
