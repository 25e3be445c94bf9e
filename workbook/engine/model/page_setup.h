#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tallowby::engine {

// The SETUP record: paper, scale, fit-to-pages and print options.
struct PrintSetup {
    uint16_t paperSize = 0;  // 1 Letter, 9 A4, ...; 0 not stated
    uint16_t scalePercent = 100;
    uint16_t firstPageNumber = 1;
    uint16_t fitWidthPages = 1;   // 0: as many as needed
    uint16_t fitHeightPages = 1;  // 0: as many as needed
    uint16_t flags = 0x0002;      // 0x02 portrait, 0x04 paper/scale/orientation not set, ...
    uint16_t printDpi = 0;
    uint16_t verticalDpi = 0;
    double headerMarginInches = 0.5;
    double footerMarginInches = 0.5;
    uint16_t copies = 1;

    bool portrait() const { return (flags & 0x02) != 0; }
    // Paper, scale and orientation hold no values of their own (fNoPls).
    bool unset() const { return (flags & 0x04) != 0; }
    bool operator==(const PrintSetup&) const = default;
};

// One manual page break: before row (or column) `index`, over start..end.
struct PageBreak {
    uint16_t index = 0;
    uint16_t start = 0;
    uint16_t end = 0;
    bool operator==(const PageBreak&) const = default;
};

// A sheet's page setup as its records state it. Each member is empty when
// the sheet has no such record, and the sheet is then written without it.
struct PageSetup {
    std::optional<PrintSetup> setup;
    std::optional<double> leftMarginInches, rightMarginInches;
    std::optional<double> topMarginInches, bottomMarginInches;
    std::optional<bool> centreHorizontally, centreVertically;
    std::optional<std::string> header, footer;  // &-codes, UTF-8
    std::optional<std::vector<PageBreak>> rowBreaks, columnBreaks;
    // The WSBOOL option word; bit 0x0100 says SETUP's fit width and height
    // apply instead of its scale.
    std::optional<uint16_t> sheetOptions;

    bool fitToPages() const { return sheetOptions && (*sheetOptions & 0x0100); }
    // Margins with the defaults spreadsheet programs take for a missing record.
    double left() const { return leftMarginInches.value_or(0.75); }
    double right() const { return rightMarginInches.value_or(0.75); }
    double top() const { return topMarginInches.value_or(1.0); }
    double bottom() const { return bottomMarginInches.value_or(1.0); }
    bool operator==(const PageSetup&) const = default;
};

}  // namespace tallowby::engine
