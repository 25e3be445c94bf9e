#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "workbook/engine/model/cell.h"
#include "workbook/engine/model/page_setup.h"
#include "workbook/engine/model/style.h"

namespace tallowby::engine {

// A BIFF record kept as read, written back unchanged.
struct RawRecord {
    uint16_t type = 0;
    // At most 8224 bytes as read; CONTINUE records that follow a kept record are
    // kept as records of their own, so their inner layout survives. Longer data
    // is split into CONTINUE records on write.
    std::vector<uint8_t> data;
    bool operator==(const RawRecord&) const = default;
};

struct ColumnInfo {
    uint16_t firstCol = 0;
    uint16_t lastCol = 0;
    uint16_t width = 2340;  // 1/256 of the width of the digit zero, padding included
    uint16_t xf = 15;
    uint16_t flags = 0;  // bit 0 hidden; outline bits kept
    bool operator==(const ColumnInfo&) const = default;
};

struct RowInfo {
    uint16_t heightTwips = 255;
    bool customHeight = false;
    bool hidden = false;
    std::optional<uint16_t> xf;  // row default format when set
    uint32_t flags = 0x100;      // the record's flag word as read
    bool operator==(const RowInfo&) const = default;
};

// The kind of a sheet, as the sheet list records it.
enum class SheetKind : uint8_t { Worksheet = 0, Macro = 1, Chart = 2, VisualBasic = 6 };

class Sheet {
  public:
    std::string name;  // UTF-8
    SheetKind kind = SheetKind::Worksheet;
    uint8_t visibility = 0;  // 0 visible, 1 hidden, 2 very hidden

    // Cells by address, in row-major order.
    const std::map<CellAddress, Cell>& cells() const { return cells_; }
    const Cell* find(uint16_t row, uint16_t col) const;
    Cell& at(uint16_t row, uint16_t col);  // creates an empty cell when absent
    void erase(uint16_t row, uint16_t col);
    // Gives the cells [firstCol, lastCol] of `row` the format `xf`, creating
    // the absent ones: one search for the whole run, where at() searches per
    // cell (inserted columns take their left neighbours' formats this way).
    void formatRun(uint16_t row, uint16_t firstCol, uint16_t lastCol, uint16_t xf);

    // The smallest range holding every cell record (formatted blanks included),
    // or nothing for a sheet without cells.
    std::optional<CellRange> usedRange() const;

    std::vector<CellRange> merges;
    // The merged range that holds (row, col), if any.
    const CellRange* mergeAt(uint16_t row, uint16_t col) const;

    std::vector<ColumnInfo> columns;        // COLINFO records, sorted by first column
    uint16_t defaultColWidthChars = 8;      // DEFCOLWIDTH
    std::optional<uint16_t> standardWidth;  // STANDARDWIDTH, 1/256 character units
    std::map<uint16_t, RowInfo> rows;       // ROW records by row index
    uint16_t defaultRowHeightTwips = 255;   // DEFAULTROWHEIGHT
    uint16_t defaultRowFlags = 0;           // its flags (custom height, hidden, spacing)
    // Whether the file states the defaults above. Programs differ in what they
    // assume when it does not, so a sheet read without them is written without.
    bool statesDefaultColWidth = true;
    bool statesDefaultRowHeight = true;

    bool showGridlines = true;  // WINDOW2 flag
    bool selected = false;      // WINDOW2 flags
    std::optional<CellRange> printArea;
    PageSetup pageSetup;  // read from, and written to, the page setup records

    // Sheet records the engine does not interpret, in file order, with the
    // place they stood relative to the cell block (before or after it). A sheet
    // that is not a worksheet (a chart sheet, say) keeps all its records in
    // recordsBeforeCells, its BOF and EOF included, and is written back as is.
    std::vector<RawRecord> recordsBeforeCells;
    std::vector<RawRecord> recordsAfterCells;

  private:
    std::map<CellAddress, Cell> cells_;
};

class Workbook {
  public:
    std::vector<Sheet> sheets;
    int activeSheet = 0;
    bool isTemplate = false;  // TEMPLATE record present
    bool date1904 = false;

    // Fonts in file order; the file numbers them skipping index 4.
    std::vector<Font> fonts;
    const Font& font(uint16_t index) const;  // by file index; falls back to the first font

    // Number formats that the file defines (custom ones and re-defined built-ins).
    std::map<uint16_t, std::string> formats;
    // The format code for an id: the file's own, else the built-in table (US English).
    std::string formatCode(uint16_t id) const;
    // The id of a format with this code, adding a FORMAT (id 164 and up) when absent.
    uint16_t ensureFormat(const std::string& code);

    std::vector<Xf> xfs;
    const Xf& xf(uint16_t index) const;  // falls back to XF 15, or a default XF
    // An XF equal to the given one, appended when the workbook has none.
    uint16_t ensureXf(const Xf& xf);

    // Colour palette entries 8..63 (index 8 is the first custom colour).
    std::array<Rgb, 56> palette{};
    Rgb colour(uint16_t index, Rgb automatic = 0x000000) const;

    // Global records the engine does not interpret, kept for writing back.
    std::vector<RawRecord> globalRecords;

    // The compound file's streams other than the workbook stream (document
    // summary information, say), carried along when the workbook is written.
    struct Stream {
        std::string path;  // storages and name joined by '/', UTF-8
        std::vector<uint8_t> data;
        bool operator==(const Stream&) const = default;
    };
    std::vector<Stream> otherStreams;
    std::array<uint8_t, 16> containerClsid{};  // the compound file's root class id

    Workbook();  // palette set to the BIFF8 default
};

// The built-in number format codes (US English) by id, or empty.
std::string builtinFormatCode(uint16_t id);

}  // namespace tallowby::engine
