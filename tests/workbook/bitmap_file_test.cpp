#include "workbook/automation/bitmap_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>

namespace tallowby {
namespace {

QByteArray qtBitmap(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

// Every width pads its rows differently; colours in every channel.
QImage drawn(int width, int height, int dotsPerMeter) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb((x * 37) & 0xff, (y * 91) & 0xff, (x * y) & 0xff));
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter + 1);
    return picture;
}

TEST(BitmapFile, WritesTheBytesQtWritesAndReadsWhatQtReads) {
    for (int width : {1, 2, 3, 4, 5, 7, 8, 9, 617}) {
        for (int dots : {3780, 7559}) {
            const QImage picture = drawn(width, 3, dots);
            const QByteArray ours = automation::encodeBitmap(picture);
            ASSERT_EQ(ours, qtBitmap(picture)) << "width " << width << ", " << dots << " dpm";
            const QImage read = automation::decodeBitmap(ours);
            const QImage qtRead = QImage::fromData(ours, "BMP");
            EXPECT_EQ(read.format(), qtRead.format());
            EXPECT_EQ(read, qtRead);
            EXPECT_EQ(read.dotsPerMeterX(), qtRead.dotsPerMeterX());
            EXPECT_EQ(read.dotsPerMeterY(), qtRead.dotsPerMeterY());
            // What tallowby-fill writes from the read picture stays the same file.
            EXPECT_EQ(qtBitmap(read), ours);
        }
    }
}

TEST(BitmapFile, LeavesOtherPicturesAndFilesToQt) {
    QImage withAlpha(5, 4, QImage::Format_ARGB32);
    withAlpha.fill(qRgba(10, 20, 30, 128));
    const QByteArray file = automation::encodeBitmap(withAlpha);
    EXPECT_EQ(file, qtBitmap(withAlpha));
    EXPECT_EQ(automation::decodeBitmap(file), QImage::fromData(file, "BMP"));

    QImage indexed(7, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 0, 0)});
    indexed.fill(1);
    EXPECT_EQ(automation::encodeBitmap(indexed), qtBitmap(indexed));

    // A 24-bit file cut short, or a header that lies about the size, is
    // Qt's to judge (it fills what is missing as it likes); neither crashes.
    QByteArray cut = automation::encodeBitmap(drawn(9, 9, 3780));
    cut.chop(40);
    EXPECT_EQ(automation::decodeBitmap(cut).size(), QImage::fromData(cut).size());
    QByteArray huge = automation::encodeBitmap(drawn(9, 9, 3780));
    huge[22] = '\x7f';  // height far past the bytes there are
    EXPECT_EQ(automation::decodeBitmap(huge).size(), QImage::fromData(huge).size());
    EXPECT_TRUE(automation::decodeBitmap(QByteArray("BM")).isNull());
    EXPECT_TRUE(automation::decodeBitmap(QByteArray()).isNull());
}

}  // namespace
}  // namespace tallowby
