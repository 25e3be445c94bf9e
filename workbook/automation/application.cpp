#include "workbook/automation/application.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>

#include "app/atomic_file.h"
#include "app/failure.h"
#include "workbook/automation/engine_calls.h"
#include "workbook/engine/biff/unicode_text.h"
#include "workbook/engine/input/typed_input.h"
#include "workbook/engine/numfmt/number_format.h"

namespace tallowby::automation {

namespace {

ApplicationFactory& factory() {
    static ApplicationFactory f;
    return f;
}

constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;

}  // namespace

// ---- Application -------------------------------------------------------

Application::Application() : workbooks_(*this) {}
Application::~Application() = default;

void Application::requireRunning() const {
    if (quit_) throw Failure("The spreadsheet engine instance has been quit.");
}

Workbook& Application::ActiveWorkbook() {
    requireRunning();
    if (!active_) throw Failure("There is no active workbook.");
    return *active_;
}

CellHandle Application::Cells(int row, int column) {
    requireRunning();
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw Failure(QStringLiteral("Cell (%1, %2) is outside the sheet.").arg(row).arg(column));
    return CellHandle(*this, row, column);
}

void Application::Quit() {
    while (workbooks_.count() > 0) workbooks_(workbooks_.count()).Close();
    quit_ = true;
}

std::unique_ptr<Application> CreateApplication() {
    if (factory()) {
        auto app = factory()();
        if (!app) throw Failure("The spreadsheet engine could not be started.");
        return app;
    }
    return std::make_unique<Application>();
}

void setApplicationFactory(ApplicationFactory f) {
    factory() = std::move(f);
}

// ---- Workbooks ---------------------------------------------------------

Workbook& Workbooks::Open(const QString& path, bool readOnly) {
    app_->requireRunning();
    engine::Workbook model = readWorkbookFile(path);
    open_.push_back(std::make_unique<Workbook>(*app_, QFileInfo(path).absoluteFilePath(),
                                               std::move(model), readOnly));
    app_->active_ = open_.back().get();
    return *open_.back();
}

Workbook& Workbooks::operator()(int n) {
    app_->requireRunning();
    if (n < 1 || n > count())
        throw Failure(QStringLiteral("Workbook %1 is not open (%2 open).").arg(n).arg(count()));
    return *open_[n - 1];
}

void Workbooks::remove(const Workbook* workbook) {
    auto it = std::find_if(open_.begin(), open_.end(),
                           [&](const auto& w) { return w.get() == workbook; });
    if (it == open_.end()) return;
    std::unique_ptr<Workbook> closing = std::move(*it);
    open_.erase(it);
    if (app_->active_ == workbook) app_->active_ = open_.empty() ? nullptr : open_.back().get();
}

// ---- Workbook ----------------------------------------------------------

Workbook::Workbook(Application& app, QString path, engine::Workbook model, bool readOnly)
    : app_(&app), path_(std::move(path)), model_(std::move(model)), readOnly_(readOnly) {
    for (int i = 0; i < static_cast<int>(model_.sheets.size()); ++i)
        sheets_.push_back(std::make_unique<Worksheet>(*this, i));
    if (model_.activeSheet < 0 || model_.activeSheet >= static_cast<int>(model_.sheets.size()))
        model_.activeSheet = 0;
}

Worksheet& Workbook::Worksheets(int index) {
    app_->requireRunning();
    if (index < 1 || index > WorksheetsCount())
        throw Failure(QStringLiteral("Worksheet %1 does not exist.").arg(index));
    return *sheets_[index - 1];
}

Worksheet& Workbook::ActiveSheet() {
    app_->requireRunning();
    if (sheets_.empty()) throw Failure("The workbook has no worksheet.");
    return *sheets_[model_.activeSheet];
}

void Workbook::recalculateIfNeeded() {
    if (!dirty_) return;
    recalculateWorkbook(model_);
    dirty_ = false;
}

QStringList Workbook::SaveAs(const QString& path, int fileFormat, AtomicFileWriter::Flush flush) {
    app_->requireRunning();
    if (fileFormat != kXlsFormat && fileFormat != kDefaultFormat && fileFormat != kXlsxFormat)
        throw Failure(QStringLiteral("File format %1 is not supported; only the Excel 97-2003 "
                                     "workbook format (56 or -4143) and the Excel workbook "
                                     "format (51) can be written.")
                          .arg(fileFormat));
    if (readOnly_ && QFileInfo(path).absoluteFilePath() == path_)
        throw Failure(
            QStringLiteral("The workbook %1 is read-only; save it under another name.").arg(path));
    recalculateIfNeeded();
    QStringList warnings;
    if (fileFormat == kXlsxFormat) {
        warnings = saveAsXlsx(path);
    } else {
        const std::vector<uint8_t> bytes = writeAsWorkbook(model_);
        AtomicFileWriter file(path, 0666, flush);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        file.commit();
    }
    path_ = QFileInfo(path).absoluteFilePath();
    readOnly_ = false;
    model_.isTemplate = false;
    return warnings;
}

// The .xlsx writer can only write to a named file, so it builds the file in
// a folder of its own inside the private scratch folder; the finished bytes
// then replace the target like every other save.
QStringList Workbook::saveAsXlsx(const QString& path) {
    const QString base = app_->scratchFolder().isEmpty() ? QDir::tempPath() : app_->scratchFolder();
    QTemporaryDir scratch(QDir(base).filePath(QStringLiteral("xlsx-XXXXXX")));
    if (!scratch.isValid())
        throw Failure(QStringLiteral("Cannot write %1: no scratch folder in %2: %3")
                          .arg(path, base, scratch.errorString()));
    const QString built = scratch.filePath(QStringLiteral("workbook.xlsx"));
    const QStringList warnings = writeXlsxFile(model_, built, scratch.path());
    QFile file(built);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    writeFileAtomically(path, file.readAll());
    return warnings;
}

void Workbook::Close() {
    app_->workbooks_.remove(this);
}

// ---- Worksheet ---------------------------------------------------------

engine::Sheet& Worksheet::sheet() {
    return owner_->model_.sheets.at(index_);
}
const engine::Sheet& Worksheet::sheet() const {
    return owner_->model_.sheets.at(index_);
}

QString Worksheet::Name() const {
    return QString::fromStdString(sheet().name);
}

void Worksheet::Select() {
    owner_->app_->requireRunning();
    for (auto& s : owner_->model_.sheets) s.selected = false;
    sheet().selected = true;
}

void Worksheet::Activate() {
    owner_->app_->requireRunning();
    owner_->model_.activeSheet = index_;
    owner_->app_->active_ = owner_;
}

int Worksheet::UsedRangeLastRow() const {
    // The cells are in row order: the last one is in the used range's last
    // row, with no walk over every cell as the columns' extent needs.
    const auto& cells = sheet().cells();
    return cells.empty() ? 1 : cells.rbegin()->first.row + 1;
}

int Worksheet::UsedRangeLastColumn() const {
    const auto used = sheet().usedRange();
    return used ? used->lastCol + 1 : 1;
}

QImage Worksheet::UsedRangePicture(double pixelRatio) const {
    owner_->app_->requireRunning();
    owner_->recalculateIfNeeded();
    return renderSheet(owner_->model_, index_, owner_->app_->locale(), pixelRatio);
}

std::unique_ptr<engine::UsedRangeStrips> Worksheet::UsedRangePictureStrips(
    double pixelRatio) const {
    owner_->app_->requireRunning();
    owner_->recalculateIfNeeded();
    return sheetStrips(owner_->model_, index_, owner_->app_->locale(), pixelRatio);
}

// ---- Cells -------------------------------------------------------------

engine::Cell& CellHandle::cell() {
    Worksheet& ws = app_->ActiveWorkbook().ActiveSheet();
    return ws.sheet().at(static_cast<uint16_t>(row_ - 1), static_cast<uint16_t>(column_ - 1));
}

namespace {

// A General cell takes the format its entry implies (a date, a time, a percentage).
void adoptFormat(engine::Workbook& model, engine::Cell& cell, const std::string& code) {
    if (code.empty()) return;
    if (model.formatCode(model.xf(cell.xf).format) != "General") return;
    engine::Xf xf = model.xf(cell.xf);
    if (xf.styleXf) {  // some writers give cells a style XF (xlwt's XF 15)
        xf.styleXf = false;
        xf.parent = 0;
    }
    xf.format = model.ensureFormat(code);
    cell.xf = model.ensureXf(xf);
}

}  // namespace

int Application::currentYear() const {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (yearReadAtMs_ < 0 || now < yearReadAtMs_ || now - yearReadAtMs_ >= 1000) {
        year_ = QDate::currentDate().year();
        yearReadAtMs_ = now;
    }
    return year_;
}

void CellHandle::setValue(const QString& typed) {
    Workbook& book = app_->ActiveWorkbook();
    engine::Workbook& model = book.model();
    engine::Cell& target = cell();
    const std::string cellFormat = model.formatCode(model.xf(target.xf).format);
    const std::string text = typed.toStdString();
    const engine::TypedInput input =
        engine::readTypedInput(text, cellFormat, app_->locale(), app_->currentYear());
    target.formula.clear();
    target.formulaExtra.clear();
    switch (input.kind) {
        case engine::TypedInput::Kind::Empty:
            target.value = engine::CellValue::empty();
            break;
        case engine::TypedInput::Kind::Number:
            target.value = engine::CellValue::fromNumber(input.number);
            break;
        case engine::TypedInput::Kind::Boolean:
            target.value = engine::CellValue::fromBool(input.number != 0);
            break;
        case engine::TypedInput::Kind::Text:
            // A cell holds at most 32767 UTF-16 units, cut between characters.
            target.value = engine::CellValue::fromText(
                engine::biff::utf16ToText(engine::biff::textToUtf16Limited(input.text, 32767)));
            break;
    }
    adoptFormat(model, target, input.adoptedFormat);
    book.markDirty();
}

void CellHandle::setText(const QString& text) {
    Workbook& book = app_->ActiveWorkbook();
    engine::Cell& target = cell();
    target.formula.clear();
    target.formulaExtra.clear();
    if (text.isEmpty())
        target.value = engine::CellValue::empty();
    else
        target.value = engine::CellValue::fromText(
            engine::biff::utf16ToText(engine::biff::textToUtf16Limited(text.toStdString(), 32767)));
    book.markDirty();
}

std::optional<double> CellHandle::typedNumber(const QString& typed) {
    engine::Workbook& model = app_->ActiveWorkbook().model();
    const engine::TypedInput input =
        engine::readTypedInput(typed.toStdString(), model.formatCode(model.xf(cell().xf).format),
                               app_->locale(), app_->currentYear());
    if (input.kind != engine::TypedInput::Kind::Number) return std::nullopt;
    return input.number;
}

void CellHandle::setValue(const QDate& date) {
    Workbook& book = app_->ActiveWorkbook();
    engine::Workbook& model = book.model();
    engine::Cell& target = cell();
    target.formula.clear();
    target.formulaExtra.clear();
    if (!date.isValid() || date < QDate(1900, 1, 1) || date > QDate(9999, 12, 31))
        target.value = engine::CellValue::fromText(date.toString(Qt::ISODate).toStdString());
    else {
        target.value = engine::CellValue::fromNumber(dateSerial(date, model.date1904));
        adoptFormat(model, target, model.formatCode(14));
    }
    book.markDirty();
}

void CellHandle::Select() {
    // Selection is not stored in the model; validating the cell is all there is to do.
    app_->ActiveWorkbook().ActiveSheet();
}

double dateSerial(const QDate& date, bool date1904) {
    if (date1904) return static_cast<double>(date.toJulianDay() - QDate(1904, 1, 1).toJulianDay());
    double serial = static_cast<double>(date.toJulianDay() - QDate(1899, 12, 30).toJulianDay());
    // The 1900 system counts a 29 February 1900 that never was.
    if (date < QDate(1900, 3, 1)) serial -= 1;
    return serial;
}

}  // namespace tallowby::automation
