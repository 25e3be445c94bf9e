#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "tests/support/template_loading.h"
#include "workbook/engine/render/sheet_renderer.h"

namespace tallowby::engine {
namespace {

class PixelRatio : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(testing::loadFilledTemplate(book)); }
    QImage draw(double ratio) {
        RenderOptions options;
        options.pixelRatio = ratio;
        return renderUsedRange(book, 0, FormatLocale::english(), options);
    }
    Workbook book;
};

TEST_F(PixelRatio, TheFilledTimesheetFitsThePreviewAtZoomOne) {
    // The preview's viewport is 620 pixels wide inside; zoom 1.25 must stay
    // below 760 pixels high.
    const QImage picture = draw(1.0);
    EXPECT_LE(picture.width(), 620);
    EXPECT_LE(picture.height(), 600);
}

TEST_F(PixelRatio, TwiceTheRatioGivesTwiceThePixelsAtTheSameSize) {
    const QImage plain = draw(1.0);
    const QImage fine = draw(2.0);
    EXPECT_EQ(fine.width(), 2 * plain.width());
    EXPECT_EQ(fine.height(), 2 * plain.height());
    EXPECT_EQ(fine.devicePixelRatio(), 2.0);
    EXPECT_EQ(fine.deviceIndependentSize(), QSizeF(plain.size()));
    // 192 dpi, so a file written from it says how fine it is.
    EXPECT_NEAR(fine.dotsPerMeterX(), 7559, 1);
    EXPECT_EQ(plain.dotsPerMeterX(), 3780);
}

TEST_F(PixelRatio, TheFinePictureShowsTheSameSheet) {
    const QImage plain = draw(1.0);
    const QImage fine = draw(2.0);
    // Every 8 x 8 block of the plain picture that is one flat colour (fills,
    // white space) is the same colour in the fine one, where it covers 16 x 16.
    int compared = 0;
    for (int y = 0; y + 8 <= plain.height(); y += 8) {
        for (int x = 0; x + 8 <= plain.width(); x += 8) {
            const QRgb colour = plain.pixel(x, y);
            bool flat = true;
            for (int dy = 0; dy < 8 && flat; ++dy)
                for (int dx = 0; dx < 8 && flat; ++dx) flat = plain.pixel(x + dx, y + dy) == colour;
            if (!flat) continue;
            ++compared;
            ASSERT_EQ(fine.pixel(2 * x + 7, 2 * y + 7), colour) << "at " << x << ", " << y;
        }
    }
    EXPECT_GT(compared, 1000);
}

TEST_F(PixelRatio, RatiosOutsideTheRangeAreRefused) {
    EXPECT_THROW(draw(0.0), std::runtime_error);
    EXPECT_THROW(draw(9.0), std::runtime_error);
    EXPECT_THROW(draw(std::numeric_limits<double>::quiet_NaN()), std::runtime_error);
    EXPECT_EQ(draw(1.5).width(), static_cast<int>(std::ceil(draw(1.0).width() * 1.5)));
}

}  // namespace
}  // namespace tallowby::engine
