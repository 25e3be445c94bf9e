#include "workbook/engine/xlsx/xlsx_page_setup.h"

#include "workbook/engine/xlsx/xlsx_lost_content.h"

namespace tallowby::engine::xlsx {

namespace {

constexpr uint16_t kPrintGridlines = 0x002B;
constexpr uint16_t kPrintHeadings = 0x002A;

// SETUP option bits.
constexpr uint16_t kAcrossThenDown = 0x0001;
constexpr uint16_t kBlackAndWhite = 0x0008;
constexpr uint16_t kDraft = 0x0010;
constexpr uint16_t kNotes = 0x0020;
constexpr uint16_t kOwnFirstPageNumber = 0x0080;

bool flagRecordOn(const Sheet& sheet, uint16_t type) {
    const RawRecord* r = keptSheetRecord(sheet, type);
    return r && !r->data.empty() && r->data[0] != 0;
}

void warn(std::vector<std::string>& warnings, const Sheet& sheet, const std::string& what) {
    warnings.push_back("Sheet \"" + sheet.name + "\": " + what);
}

std::vector<lxw_row_t> breakList(const std::vector<PageBreak>& breaks) {
    std::vector<lxw_row_t> out;
    // The list ends at a 0, and a break before the first row means nothing.
    for (const PageBreak& b : breaks)
        if (b.index != 0) out.push_back(b.index);
    out.push_back(0);
    return out;
}

void writePrintSetup(lxw_worksheet* ws, const Sheet& sheet, const PrintSetup& s,
                     std::vector<std::string>& warnings) {
    const PageSetup& p = sheet.pageSetup;
    if (!s.unset()) {
        if (s.portrait())
            worksheet_set_portrait(ws);
        else
            worksheet_set_landscape(ws);
        if (s.paperSize > 255)
            warn(warnings, sheet, "paper size " + std::to_string(s.paperSize) + " is not written.");
        else if (s.paperSize != 0)
            worksheet_set_paper(ws, static_cast<uint8_t>(s.paperSize));
        if (!p.fitToPages() && s.scalePercent != 100) {
            if (s.scalePercent >= 10 && s.scalePercent <= 400)
                worksheet_set_print_scale(ws, s.scalePercent);
            else
                warn(warnings, sheet,
                     "print scale " + std::to_string(s.scalePercent) + "% is not written.");
        }
    }
    if (p.fitToPages()) worksheet_fit_to_pages(ws, s.fitWidthPages, s.fitHeightPages);
    if (s.flags & kOwnFirstPageNumber) worksheet_set_start_page(ws, s.firstPageNumber);
    if (s.flags & kAcrossThenDown) worksheet_print_across(ws);
    if (s.flags & kBlackAndWhite)
        warn(warnings, sheet, "printing in black and white is not written.");
    if (s.flags & kDraft) warn(warnings, sheet, "draft printing is not written.");
    if (s.flags & kNotes) warn(warnings, sheet, "printing notes is not written.");
    if (s.copies > 1) warn(warnings, sheet, "the number of copies is not written.");
}

void writeHeaderFooter(lxw_worksheet* ws, const Sheet& sheet, std::vector<std::string>& warnings) {
    const PageSetup& p = sheet.pageSetup;
    lxw_header_footer_options header{};
    lxw_header_footer_options footer{};
    header.margin = p.setup ? p.setup->headerMarginInches : 0.5;
    footer.margin = p.setup ? p.setup->footerMarginInches : 0.5;
    if (worksheet_set_header_opt(ws, p.header.value_or("").c_str(), &header) != LXW_NO_ERROR)
        warn(warnings, sheet, "the header is too long for the .xlsx format and is not written.");
    if (worksheet_set_footer_opt(ws, p.footer.value_or("").c_str(), &footer) != LXW_NO_ERROR)
        warn(warnings, sheet, "the footer is too long for the .xlsx format and is not written.");
}

}  // namespace

void writePageSetup(lxw_worksheet* ws, const Sheet& sheet, std::vector<std::string>& warnings) {
    const PageSetup& p = sheet.pageSetup;
    if (sheet.printArea) {
        const CellRange& a = *sheet.printArea;
        worksheet_print_area(ws, a.firstRow, a.firstCol, a.lastRow, a.lastCol);
    }
    if (p.setup) writePrintSetup(ws, sheet, *p.setup, warnings);
    if (p.leftMarginInches || p.rightMarginInches || p.topMarginInches || p.bottomMarginInches)
        worksheet_set_margins(ws, p.left(), p.right(), p.top(), p.bottom());
    if (p.centreHorizontally.value_or(false)) worksheet_center_horizontally(ws);
    if (p.centreVertically.value_or(false)) worksheet_center_vertically(ws);
    if (p.header || p.footer || p.setup) writeHeaderFooter(ws, sheet, warnings);
    if (p.rowBreaks && !p.rowBreaks->empty()) {
        std::vector<lxw_row_t> breaks = breakList(*p.rowBreaks);
        worksheet_set_h_pagebreaks(ws, breaks.data());
    }
    if (p.columnBreaks && !p.columnBreaks->empty()) {
        std::vector<lxw_col_t> breaks;
        for (const lxw_row_t at : breakList(*p.columnBreaks))
            breaks.push_back(static_cast<lxw_col_t>(at));
        worksheet_set_v_pagebreaks(ws, breaks.data());
    }
    const bool printGrid = flagRecordOn(sheet, kPrintGridlines);
    if (sheet.showGridlines)
        worksheet_gridlines(ws, printGrid ? LXW_SHOW_ALL_GRIDLINES : LXW_SHOW_SCREEN_GRIDLINES);
    else
        worksheet_gridlines(ws, printGrid ? LXW_SHOW_PRINT_GRIDLINES : LXW_HIDE_ALL_GRIDLINES);
    if (flagRecordOn(sheet, kPrintHeadings)) worksheet_print_row_col_headers(ws);
}

}  // namespace tallowby::engine::xlsx
