// A workbook built in code through the facade: a new blank workbook, sheet
// names, column widths, numbers, SUM formulas, number formats, bold text, and
// the cell values read back.
#include <algorithm>
#include <cmath>

#include "app/failure.h"
#include "workbook/automation/application.h"

namespace tallowby::automation {

namespace {

constexpr int kMaxColumns = 256;
constexpr int kMaxRows = 65536;
// A BIFF8 file holds 15 style XFs before the first cell XF, and 4 fonts
// before the one numbered 5 (there is no font 4).
constexpr int kStyleXfs = 15;
constexpr uint16_t kDefaultCellXf = 15;
constexpr int kLeadingFonts = 4;
constexpr uint16_t kSumFunction = 4;

void putWord(std::vector<uint8_t>& bytes, uint16_t word) {
    bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<uint8_t>(word >> 8));
}

}  // namespace

Workbook& Workbooks::Add() {
    app_->requireRunning();
    engine::Workbook model;
    model.fonts.assign(kLeadingFonts, engine::Font{});
    for (int i = 0; i <= kStyleXfs; ++i) {
        engine::Xf xf;
        xf.styleXf = i < kStyleXfs;
        model.xfs.push_back(xf);
    }
    engine::Sheet sheet;
    sheet.name = "Sheet1";
    sheet.selected = true;
    model.sheets.push_back(std::move(sheet));
    open_.push_back(std::make_unique<Workbook>(*app_, QString(), std::move(model), false));
    app_->active_ = open_.back().get();
    return *open_.back();
}

void Worksheet::setName(const QString& name) {
    owner_->app_->requireRunning();
    static const QString kForbidden = QStringLiteral(":\\/?*[]");
    bool allowed = !name.isEmpty() && name.size() <= 31;
    for (const QChar c : name)
        if (kForbidden.contains(c)) allowed = false;
    if (!allowed)
        throw Failure(QStringLiteral("\"%1\" cannot name a sheet: a sheet name has 1 to 31 "
                                     "characters and none of : \\ / ? * [ ].")
                          .arg(name));
    sheet().name = name.toStdString();
}

void Worksheet::setColumnWidth(int column, double characters) {
    owner_->app_->requireRunning();
    if (column < 1 || column > kMaxColumns)
        throw Failure(QStringLiteral("Column %1 is outside the sheet.").arg(column));
    if (!(characters >= 0 && characters <= 255))
        throw Failure(
            QStringLiteral("A column is 0 to 255 characters wide, not %1.").arg(characters));
    const auto col = static_cast<uint16_t>(column - 1);
    // The stored width counts the cell's padding as well, as spreadsheet
    // programs store a width typed in characters.
    const auto width = static_cast<uint16_t>(std::lround(characters * 256 + 182));
    std::vector<engine::ColumnInfo>& columns = sheet().columns;
    std::vector<engine::ColumnInfo> kept;
    for (const engine::ColumnInfo& info : columns) {
        if (col < info.firstCol || col > info.lastCol) {
            kept.push_back(info);
            continue;
        }
        // Split a run of columns around the one that changes.
        if (info.firstCol < col) {
            engine::ColumnInfo before = info;
            before.lastCol = static_cast<uint16_t>(col - 1);
            kept.push_back(before);
        }
        if (info.lastCol > col) {
            engine::ColumnInfo after = info;
            after.firstCol = static_cast<uint16_t>(col + 1);
            kept.push_back(after);
        }
    }
    engine::ColumnInfo changed;
    changed.firstCol = col;
    changed.lastCol = col;
    changed.width = width;
    changed.xf = kDefaultCellXf;
    kept.push_back(changed);
    std::sort(kept.begin(), kept.end(),
              [](const auto& a, const auto& b) { return a.firstCol < b.firstCol; });
    columns = std::move(kept);
}

void CellHandle::setNumber(double value) {
    Workbook& book = app_->ActiveWorkbook();
    if (!std::isfinite(value)) throw Failure("A cell cannot hold a number that is not finite.");
    engine::Cell& target = cell();
    target.formula.clear();
    target.formulaExtra.clear();
    target.value = engine::CellValue::fromNumber(value);
    book.markDirty();
}

void CellHandle::setSumFormula(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    Workbook& book = app_->ActiveWorkbook();
    if (firstRow < 1 || lastRow > kMaxRows || firstRow > lastRow || firstColumn < 1 ||
        lastColumn > kMaxColumns || firstColumn > lastColumn)
        throw Failure(QStringLiteral("The range (%1, %2):(%3, %4) is not a range of the sheet.")
                          .arg(firstRow)
                          .arg(firstColumn)
                          .arg(lastRow)
                          .arg(lastColumn));
    // tAreaR with both ends relative, then tFuncVarV SUM of one argument.
    constexpr uint16_t kRelative = 0xC000;
    std::vector<uint8_t> tokens{0x25};
    putWord(tokens, static_cast<uint16_t>(firstRow - 1));
    putWord(tokens, static_cast<uint16_t>(lastRow - 1));
    putWord(tokens, static_cast<uint16_t>((firstColumn - 1) | kRelative));
    putWord(tokens, static_cast<uint16_t>((lastColumn - 1) | kRelative));
    tokens.push_back(0x42);
    tokens.push_back(1);
    putWord(tokens, kSumFunction);
    engine::Cell& target = cell();
    target.formula = std::move(tokens);
    target.formulaExtra.clear();
    target.value = engine::CellValue::fromNumber(0);
    book.markDirty();
}

void CellHandle::setNumberFormat(const QString& code) {
    Workbook& book = app_->ActiveWorkbook();
    if (code.isEmpty()) throw Failure("A number format code cannot be empty.");
    engine::Workbook& model = book.model();
    engine::Cell& target = cell();
    engine::Xf xf = model.xf(target.xf);
    xf.styleXf = false;
    xf.format = model.ensureFormat(code.toStdString());
    target.xf = model.ensureXf(xf);
    book.markDirty();
}

void CellHandle::setBold(bool bold) {
    Workbook& book = app_->ActiveWorkbook();
    engine::Workbook& model = book.model();
    engine::Cell& target = cell();
    engine::Xf xf = model.xf(target.xf);
    engine::Font font = model.font(xf.font);
    font.weight = bold ? 700 : 400;
    // Fonts are numbered in the file skipping 4.
    while (model.fonts.size() < kLeadingFonts) model.fonts.push_back(engine::Font{});
    size_t position = 0;
    while (position < model.fonts.size() && !(model.fonts[position] == font)) ++position;
    if (position == model.fonts.size()) model.fonts.push_back(font);
    xf.font = static_cast<uint16_t>(position >= kLeadingFonts ? position + 1 : position);
    xf.styleXf = false;
    target.xf = model.ensureXf(xf);
    book.markDirty();
}

const engine::Cell* CellHandle::existingCell() const {
    const Worksheet& ws = app_->ActiveWorkbook().ActiveSheet();
    return ws.sheet().find(static_cast<uint16_t>(row_ - 1), static_cast<uint16_t>(column_ - 1));
}

std::optional<double> CellHandle::number() const {
    const engine::Cell* c = existingCell();
    if (!c || c->value.type != engine::CellValue::Type::Number) return std::nullopt;
    return c->value.number;
}

QString CellHandle::text() const {
    const engine::Cell* c = existingCell();
    if (!c || c->value.type != engine::CellValue::Type::Text) return {};
    return QString::fromStdString(c->value.text);
}

}  // namespace tallowby::automation
