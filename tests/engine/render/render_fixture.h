#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include "workbook/engine/model/workbook_model.h"
#include "workbook/engine/render/sheet_renderer.h"

namespace tallowby::engine::testing {

// A one-sheet workbook with Arial 10 and the sixteen standard XFs, to draw.
class RenderTest : public ::testing::Test {
  protected:
    RenderTest() {
        book.fonts.push_back(Font{});
        book.xfs.resize(16);
        for (int i = 0; i < 15; ++i) book.xfs[i].styleXf = true;
        book.sheets.resize(1);
    }
    Sheet& sheet() { return book.sheets[0]; }
    uint16_t addXf(const Xf& xf) {
        book.xfs.push_back(xf);
        return static_cast<uint16_t>(book.xfs.size() - 1);
    }
    Cell& put(uint16_t row, uint16_t col, CellValue value, uint16_t xf = 15) {
        Cell& cell = sheet().at(row, col);
        cell.value = std::move(value);
        cell.xf = xf;
        return cell;
    }
    QImage draw() { return renderUsedRange(book, 0, FormatLocale::english()); }

    // Pixels darker than light grey in a rectangle (inclusive bounds).
    static int ink(const QImage& image, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = std::max(0, y0); y <= std::min(image.height() - 1, y1); ++y)
            for (int x = std::max(0, x0); x <= std::min(image.width() - 1, x1); ++x)
                if (qGray(image.pixel(x, y)) < 128) ++n;
        return n;
    }
    // The leftmost and rightmost columns with ink in a band of rows, or -1.
    static std::pair<int, int> inkColumns(const QImage& image, int x0, int y0, int x1, int y1) {
        int first = -1, last = -1;
        for (int x = x0; x <= x1; ++x)
            if (ink(image, x, y0, x, y1) > 0) {
                if (first < 0) first = x;
                last = x;
            }
        return {first, last};
    }

    Workbook book;
};

}  // namespace tallowby::engine::testing
