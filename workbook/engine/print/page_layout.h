#pragma once

#include <cstdint>
#include <optional>

#include "workbook/engine/model/page_setup.h"

namespace tallowby::engine::print {

inline constexpr double kPointsPerInch = 72.0;
// The sheet is laid out in 96-dpi pixels; a pixel is three quarters of a point.
inline constexpr double kPointsPerPixel = 0.75;

// A sheet of paper standing upright, in points.
struct PaperSize {
    double widthPt = 0;
    double heightPt = 0;
    bool operator==(const PaperSize&) const = default;
};

inline constexpr PaperSize kLetter{612, 792};
inline constexpr PaperSize kA4{595.2756, 841.8898};

// The paper a SETUP paper-size code names, for the common codes; nothing for
// 0 (not stated) and codes without a fixed size here.
std::optional<PaperSize> paperForCode(uint16_t code);

// Where the printed range lands on its one page.
struct PageLayout {
    bool landscape = false;
    double pageWidthPt = 0;  // of the page as printed (turned when landscape)
    double pageHeightPt = 0;
    double scale = 1;   // printed size / size at 100 %
    double leftPt = 0;  // top-left corner of the printed range on the page
    double topPt = 0;
    double widthPt = 0;  // the printed range's size on the page
    double heightPt = 0;
};

// Lays out a range of rangeWidthPt x rangeHeightPt (at 100 %) on one page of
// `paper`: inside the sheet's margins; at the sheet's scale when it states
// one and does not fit to pages; scaled down to fit the width between the
// margins when it is wider, and the height too, since the range is printed on
// one page; never enlarged. The sheet's orientation is kept unless the other
// one prints the range larger. Centred across and down as the sheet says.
PageLayout layoutPage(double rangeWidthPt, double rangeHeightPt, PaperSize paper,
                      const PageSetup& setup);

}  // namespace tallowby::engine::print
