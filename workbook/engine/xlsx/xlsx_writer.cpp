#include "workbook/engine/xlsx/xlsx_writer.h"

#include <xlsxwriter.h>

#include <memory>
#include <stdexcept>

#include "workbook/engine/formula/formula_text.h"
#include "workbook/engine/xlsx/xlsx_defined_names.h"
#include "workbook/engine/xlsx/xlsx_formats.h"
#include "workbook/engine/xlsx/xlsx_geometry.h"
#include "workbook/engine/xlsx/xlsx_lost_content.h"
#include "workbook/engine/xlsx/xlsx_page_setup.h"

namespace tallowby::engine::xlsx {

namespace {

constexpr uint16_t kDefaultXf = 15;
constexpr uint16_t kWindow2 = 0x023E;
constexpr uint16_t kZoom = 0x00A0;

// WINDOW2 option bits.
constexpr uint16_t kShowZeros = 0x0010;
constexpr uint16_t kRightToLeft = 0x0040;

// ROW and COLINFO option bits.
constexpr uint32_t kRowOutlineLevel = 0x0007;
constexpr uint32_t kRowCollapsed = 0x0010;
constexpr uint16_t kColumnHidden = 0x0001;
constexpr uint16_t kColumnCollapsed = 0x1000;

struct BookDeleter {
    void operator()(lxw_workbook* book) const { lxw_workbook_free(book); }
};

class SheetWriter {
  public:
    SheetWriter(lxw_worksheet* ws, const Workbook& model, const Sheet& sheet, XlsxFormats& formats,
                std::vector<std::string>& warnings)
        : ws_(ws), model_(model), sheet_(sheet), formats_(formats), warnings_(warnings) {}

    void write() {
        writeView();
        writeColumns();
        writeRows();
        // Merging first: the API fills the merged cells with blanks, and the
        // cells written afterwards take their own place again.
        writeMerges();
        for (const auto& [at, cell] : sheet_.cells()) writeCell(at, cell);
        writePageSetup(ws_, sheet_, warnings_);
        if (textFormulaResults_ > 0)
            warn(std::to_string(textFormulaResults_) +
                 " formulas with a logical or error result keep it as text until recalculated.");
        if (errorConstants_ > 0)
            warn(std::to_string(errorConstants_) +
                 " error values are written as formulas that give them.");
        if (unreadableFormulas_ > 0)
            warn(std::to_string(unreadableFormulas_) +
                 " formulas that cannot be read are written as their values.");
    }

  private:
    void warn(const std::string& what) {
        warnings_.push_back("Sheet \"" + sheet_.name + "\": " + what);
    }

    void check(lxw_error result, const CellAddress& at) {
        if (result == LXW_NO_ERROR) return;
        warn("cell " + formula::cellName(at.row, at.col) + " is not written (" +
             lxw_strerror(result) + ").");
    }

    void writeView() {
        if (const RawRecord* w = keptSheetRecord(sheet_, kWindow2); w && w->data.size() >= 2) {
            const uint16_t options = static_cast<uint16_t>(w->data[0] | (w->data[1] << 8));
            if (options & kRightToLeft) worksheet_right_to_left(ws_);
            if (!(options & kShowZeros)) worksheet_hide_zero(ws_);
        }
        if (const RawRecord* z = keptSheetRecord(sheet_, kZoom); z && z->data.size() >= 4) {
            const int num = z->data[0] | (z->data[1] << 8);
            const int den = z->data[2] | (z->data[3] << 8);
            if (den > 0 && num * 100 / den >= 10 && num * 100 / den <= 400)
                worksheet_set_zoom(ws_, static_cast<uint16_t>(num * 100 / den));
        }
        if (sheet_.statesDefaultColWidth &&
            (sheet_.defaultColWidthChars != 8 || sheet_.standardWidth))
            warn(
                "the default column width is not written; columns without a width of "
                "their own take the reader's default.");
    }

    void writeColumns() {
        for (const ColumnInfo& c : sheet_.columns) {
            lxw_row_col_options options{};
            options.hidden = (c.flags & kColumnHidden) ? 1 : 0;
            options.level = static_cast<uint8_t>((c.flags >> 8) & 0x7);
            options.collapsed = (c.flags & kColumnCollapsed) ? 1 : 0;
            lxw_format* format = c.xf == kDefaultXf ? nullptr : formats_.forXf(c.xf);
            const lxw_col_t last = std::min<lxw_col_t>(c.lastCol, LXW_COL_MAX - 1);
            if (worksheet_set_column_opt(ws_, c.firstCol, last, xlsxColumnWidth(c.width), format,
                                         &options) != LXW_NO_ERROR)
                warn("the width of column " + std::to_string(c.firstCol + 1) + " is not written.");
        }
    }

    // Every row the model records keeps its recorded height, fitted or not:
    // the API marks any height other than the default as the row's own, and
    // the heights the engine draws with are the ones to keep.
    void writeRows() {
        worksheet_set_default_row(ws_, sheet_.defaultRowHeightTwips / 20.0,
                                  (sheet_.defaultRowFlags & 0x0002) ? 1 : 0);
        for (const auto& [row, info] : sheet_.rows) {
            lxw_row_col_options options{};
            options.hidden = info.hidden ? 1 : 0;
            options.level = static_cast<uint8_t>(info.flags & kRowOutlineLevel);
            options.collapsed = (info.flags & kRowCollapsed) ? 1 : 0;
            lxw_format* format = info.xf ? formats_.forXf(*info.xf) : nullptr;
            if (worksheet_set_row_opt(ws_, row, info.heightTwips / 20.0, format, &options) !=
                LXW_NO_ERROR)
                warn("the height of row " + std::to_string(row + 1) + " is not written.");
        }
    }

    void writeMerges() {
        for (const CellRange& m : sheet_.merges) {
            if (m.firstRow == m.lastRow && m.firstCol == m.lastCol) continue;
            const Cell* first = sheet_.find(m.firstRow, m.firstCol);
            lxw_format* format = formats_.forXf(first ? first->xf : kDefaultXf);
            if (worksheet_merge_range(ws_, m.firstRow, m.firstCol, m.lastRow, m.lastCol, "",
                                      format) != LXW_NO_ERROR)
                warn("the merged range at " + formula::cellName(m.firstRow, m.firstCol) +
                     " is not written.");
        }
    }

    void writeCell(const CellAddress& at, const Cell& cell) {
        lxw_format* format = formats_.forXf(cell.xf);
        if (cell.hasFormula()) {
            std::string text;
            try {
                text = formula::formulaText(cell.formula, at, &model_);
            } catch (const std::exception&) {
                ++unreadableFormulas_;
                writeConstant(at, cell.value, format);
                return;
            }
            writeFormula(at, text, cell.value, format);
            return;
        }
        writeConstant(at, cell.value, format);
    }

    void writeFormula(const CellAddress& at, const std::string& text, const CellValue& result,
                      lxw_format* format) {
        const char* f = text.c_str();
        switch (result.type) {
            case CellValue::Type::Number:
                check(worksheet_write_formula_num(ws_, at.row, at.col, f, format, result.number),
                      at);
                return;
            case CellValue::Type::Text:
                check(worksheet_write_formula_str(ws_, at.row, at.col, f, format,
                                                  result.text.c_str()),
                      at);
                return;
            case CellValue::Type::Boolean:
                // The API stores string results only; a reader that recalculates
                // gets the logical value back.
                ++textFormulaResults_;
                check(worksheet_write_formula_str(ws_, at.row, at.col, f, format,
                                                  result.number != 0 ? "TRUE" : "FALSE"),
                      at);
                return;
            case CellValue::Type::Error:
                ++textFormulaResults_;
                check(worksheet_write_formula_str(ws_, at.row, at.col, f, format,
                                                  errorText(result.error)),
                      at);
                return;
            case CellValue::Type::Empty:
                check(worksheet_write_formula_str(ws_, at.row, at.col, f, format, ""), at);
                return;
        }
    }

    void writeConstant(const CellAddress& at, const CellValue& value, lxw_format* format) {
        switch (value.type) {
            case CellValue::Type::Number:
                check(worksheet_write_number(ws_, at.row, at.col, value.number, format), at);
                return;
            case CellValue::Type::Text:
                check(worksheet_write_string(ws_, at.row, at.col, value.text.c_str(), format), at);
                return;
            case CellValue::Type::Boolean:
                check(worksheet_write_boolean(ws_, at.row, at.col, value.number != 0, format), at);
                return;
            case CellValue::Type::Error: {
                // The API has no error constant; a formula that is the error
                // shows and gives the same value.
                ++errorConstants_;
                const std::string text = errorText(value.error);
                check(worksheet_write_formula_str(ws_, at.row, at.col, ("=" + text).c_str(), format,
                                                  text.c_str()),
                      at);
                return;
            }
            case CellValue::Type::Empty:
                check(worksheet_write_blank(ws_, at.row, at.col, format), at);
                return;
        }
    }

    lxw_worksheet* ws_;
    const Workbook& model_;
    const Sheet& sheet_;
    XlsxFormats& formats_;
    std::vector<std::string>& warnings_;
    size_t textFormulaResults_ = 0;
    size_t errorConstants_ = 0;
    size_t unreadableFormulas_ = 0;
};

lxw_worksheet* addWorksheet(lxw_workbook* book, const Sheet& sheet, size_t index,
                            std::vector<std::string>& warnings) {
    if (workbook_validate_sheet_name(book, sheet.name.c_str()) == LXW_NO_ERROR)
        return workbook_add_worksheet(book, sheet.name.c_str());
    const std::string fallback = "Sheet" + std::to_string(index + 1);
    warnings.push_back("The sheet name \"" + sheet.name +
                       "\" is not one the .xlsx format accepts; the sheet is written as \"" +
                       fallback + "\".");
    return workbook_add_worksheet(book, nullptr);
}

}  // namespace

std::vector<std::string> writeXlsxFile(const Workbook& model, const std::string& path,
                                       const XlsxOptions& options) {
    std::vector<std::string> warnings = lostContentWarnings(model);
    if (model.date1904)
        warnings.push_back(
            "The workbook counts dates from 1904; the .xlsx file counts them from "
            "1900, so dates show 4 years and 1 day earlier.");
    lxw_workbook_options bookOptions{};
    std::string scratch = options.scratchFolder;
    bookOptions.tmpdir = scratch.empty() ? nullptr : scratch.data();
    std::unique_ptr<lxw_workbook, BookDeleter> book(workbook_new_opt(path.c_str(), &bookOptions));
    if (!book) throw std::runtime_error("Cannot start the .xlsx file " + path + ".");
    XlsxFormats formats(book.get(), model);
    std::vector<lxw_worksheet*> written(model.sheets.size(), nullptr);
    for (size_t s = 0; s < model.sheets.size(); ++s) {
        const Sheet& sheet = model.sheets[s];
        if (sheet.kind != SheetKind::Worksheet) {
            warnings.push_back(
                "The sheet \"" + sheet.name +
                "\" is not a worksheet (a chart or macro sheet) and is not written.");
            continue;
        }
        lxw_worksheet* ws = addWorksheet(book.get(), sheet, s, warnings);
        if (!ws) throw std::runtime_error("Cannot add the sheet \"" + sheet.name + "\".");
        written[s] = ws;
        SheetWriter(ws, model, sheet, formats, warnings).write();
        if (sheet.visibility != 0) {
            worksheet_hide(ws);
            if (sheet.visibility == 2)
                warnings.push_back("The very hidden sheet \"" + sheet.name +
                                   "\" is written as an ordinary hidden sheet.");
        }
    }
    const size_t active = static_cast<size_t>(model.activeSheet);
    if (active < written.size() && written[active] && model.sheets[active].visibility == 0)
        worksheet_activate(written[active]);
    writeDefinedNames(book.get(), model, written, warnings);
    // workbook_close() writes the file and frees the workbook whatever it returns.
    const lxw_error closed = workbook_close(book.release());
    if (closed != LXW_NO_ERROR)
        throw std::runtime_error("Cannot write " + path + ": " + lxw_strerror(closed) + ".");
    return warnings;
}

}  // namespace tallowby::engine::xlsx
