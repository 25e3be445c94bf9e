#include "workbook/engine/print/page_layout.h"

#include <algorithm>

namespace tallowby::engine::print {

namespace {

constexpr double kPointsPerMillimetre = 72.0 / 25.4;

PaperSize millimetres(double width, double height) {
    return {width * kPointsPerMillimetre, height * kPointsPerMillimetre};
}

// The scale the sheet asks for, before fitting: 100 % when it fits to pages
// or states no scale of its own.
double statedScale(const PageSetup& setup) {
    if (setup.fitToPages() || !setup.setup || setup.setup->unset()) return 1.0;
    const uint16_t percent = setup.setup->scalePercent;
    if (percent < 10 || percent > 400) return 1.0;  // outside what programs accept
    return percent / 100.0;
}

PageLayout fit(double width, double height, double pageWidth, double pageHeight,
               const PageSetup& setup, double scale, bool landscape) {
    PageLayout layout;
    layout.landscape = landscape;
    layout.pageWidthPt = pageWidth;
    layout.pageHeightPt = pageHeight;
    const double left = setup.left() * kPointsPerInch, right = setup.right() * kPointsPerInch;
    const double top = setup.top() * kPointsPerInch, bottom = setup.bottom() * kPointsPerInch;
    const double roomWidth = std::max(1.0, pageWidth - left - right);
    const double roomHeight = std::max(1.0, pageHeight - top - bottom);
    if (width > 0) scale = std::min(scale, roomWidth / width);
    if (height > 0) scale = std::min(scale, roomHeight / height);
    layout.scale = scale;
    layout.widthPt = width * scale;
    layout.heightPt = height * scale;
    layout.leftPt = left;
    layout.topPt = top;
    if (setup.centreHorizontally.value_or(false))
        layout.leftPt = left + (roomWidth - layout.widthPt) / 2;
    if (setup.centreVertically.value_or(false))
        layout.topPt = top + (roomHeight - layout.heightPt) / 2;
    return layout;
}

}  // namespace

std::optional<PaperSize> paperForCode(uint16_t code) {
    switch (code) {
        case 1:  // Letter
        case 2:  // Letter small
            return kLetter;
        case 3:  // Tabloid
            return PaperSize{792, 1224};
        case 4:  // Ledger, a Tabloid lying down
            return PaperSize{792, 1224};
        case 5:  // Legal
            return PaperSize{612, 1008};
        case 7:  // Executive
            return PaperSize{522, 756};
        case 8:
            return millimetres(297, 420);  // A3
        case 9:                            // A4
        case 10:                           // A4 small
            return kA4;
        case 11:
            return millimetres(148, 210);  // A5
        case 12:
            return millimetres(250, 353);  // B4 (JIS)
        case 13:
            return millimetres(182, 257);  // B5 (JIS)
        default:
            return std::nullopt;
    }
}

PageLayout layoutPage(double rangeWidthPt, double rangeHeightPt, PaperSize paper,
                      const PageSetup& setup) {
    const double scale = statedScale(setup);
    const bool sheetLandscape = setup.setup && !setup.setup->unset() && !setup.setup->portrait();
    const PageLayout upright =
        fit(rangeWidthPt, rangeHeightPt, paper.widthPt, paper.heightPt, setup, scale, false);
    const PageLayout lying =
        fit(rangeWidthPt, rangeHeightPt, paper.heightPt, paper.widthPt, setup, scale, true);
    const PageLayout& preferred = sheetLandscape ? lying : upright;
    const PageLayout& other = sheetLandscape ? upright : lying;
    // A hair's difference is no reason to turn the page.
    return other.scale > preferred.scale * (1 + 1e-9) ? other : preferred;
}

}  // namespace tallowby::engine::print
