#include "workbook/automation/bitmap_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "workbook/engine/render/sheet_renderer.h"

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

TEST(BitmapFile, TheFileRouteWritesAndReadsTheSameBytesAsTheMemoryRoute) {
    QTemporaryDir dir;
    const QString path = dir.filePath("snapshot.bmp");
    // Narrow rows (the byte-by-byte rest only), every rest after blocks of
    // four, a picture of many blocks of rows, one big enough for its rows to
    // be shared by two threads (an odd number of rows to split), and one big
    // enough to be read back past the cache, its rows starting at every
    // 16-byte offset.
    std::vector<QImage> pictures;
    for (int width = 1; width <= 13; ++width) pictures.push_back(drawn(width, 2, 3780));
    pictures.push_back(drawn(3001, 97, 3780));
    pictures.push_back(drawn(1501, 1001, 3780));
    pictures.push_back(drawn(2049, 1025, 3780));
    for (const QImage& picture : pictures) {
        ASSERT_TRUE(automation::writeBitmapFile(picture, path)) << picture.width();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        EXPECT_EQ(written, automation::encodeBitmap(picture)) << picture.width();
        const QImage read = automation::readBitmapFile(path);
        EXPECT_EQ(read, picture) << picture.width();
        EXPECT_EQ(read.dotsPerMeterX(), picture.dotsPerMeterX());
    }
    // A cut file is read as Qt reads it, a missing folder is no file.
    const QByteArray whole = automation::encodeBitmap(drawn(9, 9, 3780));
    QFile cut(path);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cut.write(whole.left(whole.size() - 5));
    cut.close();
    // (Qt leaves the missing rows as they come, so only the sizes compare.)
    EXPECT_EQ(automation::readBitmapFile(path).size(),
              automation::decodeBitmap(whole.left(whole.size() - 5)).size());
    EXPECT_FALSE(
        automation::writeBitmapFile(drawn(4, 4, 3780), dir.filePath("no/such/folder.bmp")));
    EXPECT_TRUE(automation::readBitmapFile(dir.filePath("missing.bmp")).isNull());
}

// A sheet of many rows of numbers and texts in Arial 10, with gridlines.
engine::Workbook sheetOfRows(int rows, int columns) {
    engine::Workbook book;
    book.fonts.push_back(engine::Font{});
    book.xfs.resize(16);
    for (int i = 0; i < 15; ++i) book.xfs[i].styleXf = true;
    book.sheets.resize(1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            engine::Cell& cell =
                book.sheets[0].at(static_cast<uint16_t>(r), static_cast<uint16_t>(c));
            cell.xf = 15;
            cell.value = (r + c) % 3 ? engine::CellValue::fromNumber(r * 100.25 + c)
                                     : engine::CellValue::fromText("Rate " + std::to_string(c));
        }
    return book;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Drawn strip by strip into the file, the picture is the file of the
// picture drawn whole, at every ratio and however it is cut.
TEST(BitmapFile, AStripDrawnFileIsTheFileOfTheWholePicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("snapshot.bmp");
    const engine::Workbook book = sheetOfRows(120, 40);
    for (const double ratio : {1.0, 1.5, 2.0}) {
        engine::RenderOptions options;
        options.pixelRatio = ratio;
        const QByteArray whole = automation::encodeBitmap(
            engine::renderUsedRange(book, 0, engine::FormatLocale::english(), options));
        engine::UsedRangeStrips strips(book, 0, engine::FormatLocale::english(), options);
        ASSERT_TRUE(automation::writeBitmapFile(strips, path)) << ratio;
        EXPECT_TRUE(fileBytes(path) == whole) << "ratio " << ratio;
    }
    engine::UsedRangeStrips strips(book, 0, engine::FormatLocale::english());
    EXPECT_FALSE(automation::writeBitmapFile(strips, dir.filePath("no/such/folder.bmp")));
    if (QFile::exists("/dev/full")) {
        EXPECT_FALSE(automation::writeBitmapFile(strips, "/dev/full"));
    }
    // A sheet without cells has no picture to write.
    engine::Workbook empty = sheetOfRows(0, 0);
    engine::UsedRangeStrips none(empty, 0, engine::FormatLocale::english());
    EXPECT_FALSE(automation::writeBitmapFile(none, dir.filePath("empty.bmp")));
}

// A disk that fills up fails the write, whichever thread meets it first.
TEST(BitmapFile, AFullDiskFailsTheWrite) {
    if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    EXPECT_FALSE(automation::writeBitmapFile(drawn(40, 10, 3780), "/dev/full"));
    EXPECT_FALSE(automation::writeBitmapFile(drawn(1501, 1001, 3780), "/dev/full"));
}

}  // namespace
}  // namespace tallowby
