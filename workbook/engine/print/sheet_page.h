#pragma once

#include <optional>

#include "workbook/engine/model/workbook_model.h"
#include "workbook/engine/numfmt/number_format.h"
#include "workbook/engine/print/header_footer.h"
#include "workbook/engine/print/page_layout.h"

class QPainter;

namespace tallowby::engine::print {

// What a sheet prints: its print area, else its used range from A1; nothing
// for a sheet without cells.
std::optional<CellRange> printedRange(const Sheet& sheet);

// Whether the sheet asks for gridlines on paper (PRINTGRIDLINES).
bool printsGridlines(const Sheet& sheet);

// The printed range of the sheet laid out on one page of the paper. Throws
// std::runtime_error for a sheet with nothing to print.
PageLayout layoutSheet(const Workbook& workbook, int sheetIndex, PaperSize paper);

// Draws the page: the painter's coordinates are points from the page's
// top-left corner. Text stays text and lines stay lines on vector devices.
// The sheet's header and footer are drawn in the default font at their
// margins; the context's empty date, time and sheet name are filled in.
void paintSheetPage(QPainter& painter, const Workbook& workbook, int sheetIndex,
                    const FormatLocale& locale, const PageLayout& layout,
                    HeaderFooterContext context = {});

}  // namespace tallowby::engine::print
