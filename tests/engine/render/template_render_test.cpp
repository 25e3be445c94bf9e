#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/render/render_fixture.h"
#include "tests/support/template_loading.h"

namespace tallowby::engine {
namespace {

class TemplateRender : public testing::RenderTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(testing::loadFilledTemplate(book));
        image = renderUsedRange(book, 0, FormatLocale::english());
        ASSERT_FALSE(image.isNull());
        // Grid lines from the file's own widths and heights, worked out here.
        x.push_back(0);
        for (uint16_t c = 0; c <= 8; ++c) {
            int units = 2340;
            for (const ColumnInfo& info : book.sheets[0].columns)
                if (c >= info.firstCol && c <= info.lastCol) units = info.width;
            x.push_back(x.back() + static_cast<int>(std::lround(units * 7 / 256.0)));
        }
        y.push_back(0);
        for (uint16_t r = 0; r <= 28; ++r) {
            auto it = book.sheets[0].rows.find(r);
            const int twips = it == book.sheets[0].rows.end() ? book.sheets[0].defaultRowHeightTwips
                                                              : it->second.heightTwips;
            y.push_back(y.back() + static_cast<int>(std::lround(twips / 15.0)));
        }
    }
    QRgb palette(uint16_t index) const {
        const Rgb rgb = book.colour(index);
        return qRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    QImage image;
    std::vector<int> x, y;
};

TEST_F(TemplateRender, CoversA1ToTheLastUsedCellOfTheFilledTemplate) {
    EXPECT_EQ(image.width(), x.back() + 1);   // A to I
    EXPECT_EQ(image.height(), y.back() + 1);  // rows 1 to 29
}

TEST_F(TemplateRender, ShowsFillsButNoGridLines) {
    const Xf& heading = book.xf(book.sheets[0].find(10, 1)->xf);
    ASSERT_EQ(heading.fillPattern, 1);
    EXPECT_EQ(image.pixel(x[1] + 3, y[10] + 3), palette(heading.fillForeground));
    const Xf& day = book.xf(book.sheets[0].find(11, 0)->xf);
    EXPECT_EQ(image.pixel(x[0] + 2, y[11] + 2), palette(day.fillForeground));
    EXPECT_EQ(image.pixel(x[5], y[2] + 5), qRgb(255, 255, 255));  // no line between E3 and F3
}

TEST_F(TemplateRender, LabelsSpillAndTotalsSitRightAligned) {
    // "Employee Name:" in E5 runs on into the empty F5.
    EXPECT_GT(ink(image, x[5] + 1, y[4] + 1, x[6] - 1, y[5] - 1), 10);
    // Total pay in I21 ends near its right edge: no #### and no spill.
    auto [first, last] = inkColumns(image, x[8] + 1, y[20] + 3, x[9] - 1, y[21] - 3);
    EXPECT_GE(last, x[9] - 12);
    EXPECT_LT(first, x[8] + 16);  // the accounting format's "$" at the left edge
}

}  // namespace
}  // namespace tallowby::engine
