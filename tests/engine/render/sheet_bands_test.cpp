// A big picture is drawn in two bands by two threads; every pixel must be
// what drawing it whole gives.
#include <gtest/gtest.h>

#include <QPainter>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "tests/engine/render/render_fixture.h"
#include "workbook/engine/render/picture_rows.h"

namespace tallowby::engine {
namespace {

class SheetBands : public testing::RenderTest {
  protected:
    // Everything the renderer draws, in every row: numbers in several
    // formats (one with a fill character), texts that spill and wrap, fills,
    // every border style, rows of different heights, merged ranges across
    // the middle of the picture.
    void fillSheet(int rows, int columns) {
        book.formats[164] = "#,##0.00";
        book.formats[165] = "_($* #,##0.00_);_($* (#,##0.00);_($* \"-\"??_);_(@_)";
        std::vector<uint16_t> xfs;
        for (int style = 0; style <= 13; ++style) {
            Xf xf;
            xf.format = static_cast<uint16_t>(164 + style % 2);
            xf.top = {static_cast<uint8_t>(style), 8};
            xf.bottom = {static_cast<uint8_t>((style + 5) % 14), 10};
            xf.left = {static_cast<uint8_t>((style + 3) % 14), 12};
            xf.right = {static_cast<uint8_t>((style + 9) % 14), 8};
            if (style % 3 == 0) {
                xf.fillPattern = static_cast<uint8_t>(1 + style % 5);
                xf.fillForeground = static_cast<uint8_t>(13 + style % 7);
            }
            xf.hAlign = static_cast<HAlign>(style % 4);
            xf.vAlign = style % 2 ? VAlign::Centre : VAlign::Bottom;
            xf.wrap = style == 7;
            xfs.push_back(addXf(xf));
        }
        // Wherever the picture is cut, a thick top border reaches the row of
        // pixels above the cut and a double bottom border the row below it.
        Xf edge;
        edge.top = {5, 12};
        edge.bottom = {6, 10};
        const uint16_t edgeXf = addXf(edge);
        for (int r = 0; r < rows; ++r) {
            sheet().rows[static_cast<uint16_t>(r)].heightTwips =
                static_cast<uint16_t>(255 + (r % 5) * 90);
            sheet().rows[static_cast<uint16_t>(r)].customHeight = true;
            for (int c = 0; c < columns; ++c) {
                const auto row = static_cast<uint16_t>(r), col = static_cast<uint16_t>(c);
                const uint16_t xf =
                    c >= columns - 3 ? edgeXf : xfs[static_cast<size_t>((r * 7 + c) % xfs.size())];
                if ((r + c) % 9 == 0)
                    put(row, col,
                        CellValue::fromText("A long text that runs over its neighbours " +
                                            std::to_string(r)),
                        15);
                else if ((r + c) % 9 == 4)
                    continue;  // empty: room for the spill
                else if ((r * c) % 5 == 0)
                    put(row, col, CellValue::fromText("Rate type " + std::to_string(c)), xf);
                else
                    put(row, col, CellValue::fromNumber((r - 20) * 1234.5 + c * 0.25), xf);
            }
        }
        for (int c = 0; c + 1 < columns; c += 4)
            sheet().merges.push_back(CellRange{
                static_cast<uint16_t>(rows / 2 - 3 + c % 3), static_cast<uint16_t>(rows / 2 + 2),
                static_cast<uint16_t>(c), static_cast<uint16_t>(c + 1)});
    }

    QImage drawnWhole(const QSize& size) {
        QImage whole(size, QImage::Format_RGB32);
        whole.fill(Qt::white);
        QPainter painter(&whole);
        const auto used = sheet().usedRange();
        paintSheetRange(painter, book, 0, FormatLocale::english(),
                        CellRange{0, used->lastRow, 0, used->lastCol});
        return whole;
    }

    // The strips reassembled, with how many there were; every row comes once.
    QImage drawnInStrips(std::size_t stripBytes, const RenderOptions& options, int* count) {
        UsedRangeStrips strips(book, 0, FormatLocale::english(), options);
        QImage whole(strips.size(), QImage::Format_RGB32);
        whole.fill(Qt::black);
        std::vector<int> rowsSeen(static_cast<std::size_t>(strips.size().height()));
        std::mutex mutex;
        *count = 0;
        const bool drawn = strips.draw(
            [&](const QImage& strip, int top) {
                std::lock_guard lock(mutex);
                ++*count;
                EXPECT_EQ(strip.width(), whole.width());
                EXPECT_EQ(strip.dotsPerMeterX(), strips.dotsPerMeter());
                for (int y = 0; y < strip.height(); ++y) {
                    ++rowsSeen[static_cast<std::size_t>(top + y)];
                    std::memcpy(whole.scanLine(top + y), strip.constScanLine(y),
                                static_cast<std::size_t>(whole.width()) * 4);
                }
                return true;
            },
            stripBytes);
        EXPECT_TRUE(drawn);
        for (std::size_t y = 0; y < rowsSeen.size(); ++y) EXPECT_EQ(rowsSeen[y], 1) << "row " << y;
        return whole;
    }

    static int differingPixels(const QImage& a, const QImage& b) {
        if (a.size() != b.size()) return -1;
        int differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y) && differing++ < 5)
                    ADD_FAILURE() << "pixel " << x << ", " << y << " differs";
        return differing;
    }
};

TEST_F(SheetBands, ABigPictureDrawnInBandsIsThePictureDrawnWhole) {
    fillSheet(70, 24);
    for (const bool gridlines : {true, false}) {
        sheet().showGridlines = gridlines;
        const QImage banded = draw();
        ASSERT_GE(static_cast<std::size_t>(banded.sizeInBytes()), render::kTwoThreadRowBytes)
            << "too small to be drawn in bands";
        const QImage whole = drawnWhole(banded.size());
        int differing = 0;
        for (int y = 0; y < banded.height(); ++y)
            for (int x = 0; x < banded.width(); ++x)
                if (banded.pixel(x, y) != whole.pixel(x, y) && differing++ < 5)
                    ADD_FAILURE() << "pixel " << x << ", " << y << " differs";
        EXPECT_EQ(differing, 0) << (gridlines ? "with" : "without") << " gridlines";
    }
}

// From one sheet row per strip to the whole picture in one.
TEST_F(SheetBands, APictureDrawnInStripsIsThePictureDrawnWhole) {
    fillSheet(40, 18);
    for (const bool gridlines : {true, false}) {
        sheet().showGridlines = gridlines;
        const QImage whole = draw();
        int previousCount = 0;
        for (const std::size_t stripBytes : {std::size_t{1}, std::size_t{64} << 10,
                                             UsedRangeStrips::kStripBytes, std::size_t{1} << 30}) {
            int count = 0;
            const QImage strips = drawnInStrips(stripBytes, {}, &count);
            EXPECT_EQ(differingPixels(strips, whole), 0)
                << stripBytes << " bytes a strip, " << (gridlines ? "with" : "without")
                << " gridlines";
            if (stripBytes == 1) {
                EXPECT_EQ(count, 40) << "a strip for each sheet row";
            }
            if (stripBytes == std::size_t{1} << 30) {
                EXPECT_EQ(count, 1);
            }
            EXPECT_TRUE(previousCount == 0 || count <= previousCount);
            previousCount = count;
        }
    }
}

// Strips are cut only where the picture's pixels are the sheet's.
TEST_F(SheetBands, AtAnotherPixelRatioThePictureIsOneStrip) {
    fillSheet(12, 6);
    RenderOptions twice;
    twice.pixelRatio = 2;
    int count = 0;
    const QImage strips = drawnInStrips(1, twice, &count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(differingPixels(strips, renderUsedRange(book, 0, FormatLocale::english(), twice)), 0);
}

TEST_F(SheetBands, ARefusedStripEndsTheDrawing) {
    fillSheet(30, 6);
    UsedRangeStrips strips(book, 0, FormatLocale::english());
    std::atomic<int> taken{0};
    EXPECT_FALSE(strips.draw(
        [&](const QImage&, int) {
            ++taken;
            return false;
        },
        1));
    // The other thread may have had a strip in hand when the first was refused.
    EXPECT_LE(taken.load(), 2);
    EXPECT_GE(taken.load(), 1);
}

TEST_F(SheetBands, ASheetWithoutCellsHasNoStrips) {
    UsedRangeStrips strips(book, 0, FormatLocale::english());
    EXPECT_TRUE(strips.isEmpty());
    EXPECT_TRUE(strips.draw([](const QImage&, int) {
        ADD_FAILURE() << "a strip of nothing";
        return true;
    }));
}

// Drawn again, the picture is the same: nothing kept between pictures (the
// helper thread, the shapes it keeps) changes a pixel.
TEST_F(SheetBands, DrawnAgainItIsTheSame) {
    fillSheet(70, 24);
    const QImage first = draw();
    EXPECT_TRUE(draw() == first);
}

}  // namespace
}  // namespace tallowby::engine
