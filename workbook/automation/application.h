#pragma once

#include <QDate>
#include <QImage>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/atomic_file.h"
#include "workbook/engine/model/workbook_model.h"

namespace tallowby::engine {
class UsedRangeStrips;
}

namespace tallowby::automation {

// The formats SaveAs writes, by the codes spreadsheet applications give
// them: the 97-2003 workbook (every result is saved so), the default
// workbook (the same .xls here) and the Office Open XML workbook.
inline constexpr int kXlsFormat = 56;
inline constexpr int kDefaultFormat = -4143;
inline constexpr int kXlsxFormat = 51;

class Application;
class Workbook;

// The cells of one row, as Worksheet::ReadRows hands them over: what each
// holds, read as CellHandle::number() and text() read it.
class RowReading {
  public:
    int row() const { return row_; }
    std::optional<double> number(int column) const;
    QString text(int column) const;

  private:
    friend class Worksheet;
    const engine::Cell* at(int column) const;
    int row_ = 0;
    std::vector<const engine::Cell*> cells_;  // by column, 1-based at index 0
};

// One worksheet of an open workbook.
class Worksheet {
  public:
    Worksheet(Workbook& owner, int index) : owner_(&owner), index_(index) {}

    QString Name() const;
    void Select();
    void Activate();

    // The used range: every cell record, formatted blanks included, from A1.
    // Its last row and last column, 1-based.
    int UsedRangeLastRow() const;
    int UsedRangeLastColumn() const;

    // Rows firstRow..lastRow, columns 1..lastColumn (1-based), handed to
    // `visit` one row at a time, in order. The rows' cells are found in one
    // walk of the sheet: a search for each cell of a big sheet would cost a
    // chain of cache misses each.
    void ReadRows(int firstRow, int lastRow, int lastColumn,
                  const std::function<void(const RowReading&)>& visit) const;

    // The used range from A1 to its last row and column, drawn as the sheet
    // displays it at 96 dpi. Stands in for copying a picture to the clipboard,
    // which leaves the user's clipboard alone. `pixelRatio` 2 gives twice the
    // pixels for a screen scaled 2x, at the same device-independent size.
    QImage UsedRangePicture(double pixelRatio = 1.0) const;
    // The same picture, laid out to be drawn strip by strip (for writing it
    // to a file); valid while the workbook is open and unchanged.
    std::unique_ptr<engine::UsedRangeStrips> UsedRangePictureStrips(double pixelRatio = 1.0) const;

    // Columns(before).Resize(, count).Insert, 1-based: inserts `count` empty
    // columns before column `before`; formulas, names, the print area, merged
    // ranges and column formats follow as in a spreadsheet program.
    void InsertColumns(int before, int count);
    // Range(source column, first row : last column, last row).FillRight, 1-based:
    // rows firstRow..lastRow of column `source` copied into the `count`
    // columns from `first` on (values, formats and formulas, relative
    // references moved by the distance); the columns take the source's width.
    void FillRight(int source, int first, int count, int firstRow, int lastRow);

    // Name = text: renames the sheet (at most 31 characters, none of : \\ / ? * [ ]).
    void setName(const QString& name);
    // Columns(column).ColumnWidth = characters, 1-based: the width in
    // characters of the default font's digit zero.
    void setColumnWidth(int column, double characters);

    engine::Sheet& sheet();
    const engine::Sheet& sheet() const;

  private:
    Workbook* owner_;
    int index_;
};

// An open workbook.
class Workbook {
  public:
    Workbook(Application& app, QString path, engine::Workbook model, bool readOnly);

    // Worksheets.Item(index), 1-based.
    Worksheet& Worksheets(int index);
    int WorksheetsCount() const { return static_cast<int>(sheets_.size()); }
    Worksheet& ActiveSheet();

    // Writes the workbook under a new name, replacing the file atomically:
    // in the legacy .xls format for 56 or -4143, as an Office Open XML
    // workbook (.xlsx) for 51; other codes are refused. The file is flushed
    // to the disk unless it is a file of this session only. Returns what the
    // chosen format cannot hold of the workbook (always nothing for .xls),
    // one sentence each, for the caller to show.
    QStringList SaveAs(const QString& path, int fileFormat,
                       AtomicFileWriter::Flush flush = AtomicFileWriter::Flush::ToDisk);
    void Close();

    QString FullName() const { return path_; }
    bool ReadOnly() const { return readOnly_; }

    engine::Workbook& model() { return model_; }
    const engine::Workbook& model() const { return model_; }
    Application& application() { return *app_; }

    // Formulas are recomputed lazily: after cell writes, before a save or a picture.
    void markDirty() { dirty_ = true; }
    void recalculateIfNeeded();

  private:
    friend class Worksheet;
    QStringList saveAsXlsx(const QString& path);
    Application* app_;
    QString path_;
    engine::Workbook model_;
    bool readOnly_;
    bool dirty_ = true;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
};

// The open workbooks of an application.
class Workbooks {
  public:
    explicit Workbooks(Application& app) : app_(&app) {}

    // Opens the file (the second argument, update links, is not used).
    Workbook& Open(const QString& path, bool readOnly = false);
    // Add: a new workbook of one empty worksheet ("Sheet1", Arial 10), made
    // the active one; it has no file until it is saved.
    Workbook& Add();
    int count() const { return static_cast<int>(open_.size()); }
    // Workbooks(n), 1-based.
    Workbook& operator()(int n);

  private:
    friend class Workbook;
    void remove(const Workbook* workbook);
    Application* app_;
    std::vector<std::unique_ptr<Workbook>> open_;
};

// A cell of the active sheet, as Cells(row, column) gives it (1-based).
class CellHandle {
  public:
    CellHandle(Application& app, int row, int column) : app_(&app), row_(row), column_(column) {}
    // Value = text: read as if typed, so numbers, times and dates become values.
    void setValue(const QString& typed);
    // Value = a date.
    void setValue(const QDate& date);
    // Value = text exactly as given, never read as a number, date or truth
    // value ("0123456" stays text); an empty text empties the cell.
    void setText(const QString& text);
    // The number `typed` becomes when typed into this cell, or nothing when
    // it becomes empty, text or a truth value.
    std::optional<double> typedNumber(const QString& typed);
    // Value = the sum of several entries, each read as if typed into this
    // cell; a General cell adopts the format the first of them implies.
    // Returns the entries that are not numbers (left out of the sum); when
    // none is a number the cell is left as it was.
    QStringList setSum(const QStringList& typed);
    // Value = a number.
    void setNumber(double value);
    // Formula = "=SUM(range)", the range 1-based and relative; its result is
    // computed when the workbook is next recalculated.
    void setSumFormula(int firstRow, int firstColumn, int lastRow, int lastColumn);
    // NumberFormat = code, as a spreadsheet program's format codes are written.
    void setNumberFormat(const QString& code);
    // Font.Bold = bold.
    void setBold(bool bold);
    // What the cell holds: its number (a formula's cached result too), or
    // nothing for any other value; its text, empty for any other value.
    std::optional<double> number() const;
    QString text() const;
    void Select();

  private:
    engine::Cell& cell();
    const engine::Cell* existingCell() const;
    Application* app_;
    int row_;
    int column_;
};

// An instance of the spreadsheet engine, driven like a spreadsheet
// application: open, fill, save, render. Every failure is an exception whose
// description the error report shows.
class Application {
  public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    automation::Workbooks& Workbooks() { return workbooks_; }
    Workbook& ActiveWorkbook();
    CellHandle Cells(int row, int column);

    void Quit();

    // The private folder a save in the .xlsx format builds its file in
    // before it replaces the target (the system temp folder, unless set).
    const QString& scratchFolder() const { return scratchFolder_; }
    void setScratchFolder(const QString& folder) { scratchFolder_ = folder; }

    // The locale typed text is read in (the user's, unless set).
    const QLocale& locale() const { return locale_; }
    void setLocale(const QLocale& locale) { locale_ = locale; }

    // The current year, which typed dates without a year fall in. The local
    // date costs a look at the time zone file each time, so it is read again
    // only when a second has passed since the last reading.
    int currentYear() const;

  private:
    friend class Workbook;
    friend class Workbooks;
    friend class Worksheet;
    friend class CellHandle;
    void requireRunning() const;
    automation::Workbooks workbooks_;
    Workbook* active_ = nullptr;
    bool quit_ = false;
    QLocale locale_;
    QString scratchFolder_;
    mutable qint64 yearReadAtMs_ = -1;
    mutable int year_ = 0;
};

// Creating an instance goes through a replaceable factory so tests can make
// it fail; the default creates a real engine instance.
using ApplicationFactory = std::function<std::unique_ptr<Application>()>;
std::unique_ptr<Application> CreateApplication();
void setApplicationFactory(ApplicationFactory factory);  // an empty one restores the default

// The serial number of a date in a workbook's date system.
double dateSerial(const QDate& date, bool date1904);

}  // namespace tallowby::automation
