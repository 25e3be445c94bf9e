// Column operations and summed entries of the automation facade.
#include <exception>
#include <optional>

#include "app/failure.h"
#include "workbook/automation/application.h"
#include "workbook/engine/edit/column_edits.h"
#include "workbook/engine/input/typed_input.h"

namespace tallowby::automation {

namespace {

constexpr int kMaxColumns = 256;
constexpr int kMaxRows = 65536;

void requireColumns(int first, int count) {
    if (first < 1 || count < 0 || first + count - 1 > kMaxColumns)
        throw Failure(QStringLiteral("Columns %1 to %2 are outside the sheet (a sheet has %3 "
                                     "columns).")
                          .arg(first)
                          .arg(first + count - 1)
                          .arg(kMaxColumns));
}

}  // namespace

void Worksheet::InsertColumns(int before, int count) {
    owner_->app_->requireRunning();
    requireColumns(before, count);
    // Like a spreadsheet program, refuse to push cells off the sheet.
    for (const auto& [address, cell] : sheet().cells())
        if (address.col + 1 > kMaxColumns - count && address.col + 1 >= before)
            throw Failure(QStringLiteral("Cannot insert %1 columns: cells would be pushed off "
                                         "the sheet, which has %2 columns.")
                              .arg(count)
                              .arg(kMaxColumns));
    try {
        engine::edit::insertColumns(owner_->model_, index_, static_cast<uint16_t>(before - 1),
                                    static_cast<uint16_t>(count));
    } catch (const std::exception& e) {
        throw Failure(QStringLiteral("Cannot insert columns: %1").arg(QString::fromUtf8(e.what())));
    }
    owner_->markDirty();
}

void Worksheet::FillRight(int source, int first, int count, int firstRow, int lastRow) {
    owner_->app_->requireRunning();
    requireColumns(source, 1);
    requireColumns(first, count);
    if (firstRow < 1 || lastRow < firstRow || lastRow > kMaxRows)
        throw Failure(
            QStringLiteral("Rows %1 to %2 are outside the sheet.").arg(firstRow).arg(lastRow));
    try {
        engine::edit::fillRight(owner_->model_, index_, static_cast<uint16_t>(source - 1),
                                static_cast<uint16_t>(first - 1), static_cast<uint16_t>(count),
                                static_cast<uint16_t>(firstRow - 1),
                                static_cast<uint16_t>(lastRow - 1));
    } catch (const std::exception& e) {
        throw Failure(QStringLiteral("Cannot fill right: %1").arg(QString::fromUtf8(e.what())));
    }
    owner_->markDirty();
}

QStringList CellHandle::setSum(const QStringList& typed) {
    Workbook& book = app_->ActiveWorkbook();
    engine::Workbook& model = book.model();
    const std::string cellFormat = model.formatCode(model.xf(cell().xf).format);
    QStringList notNumbers;
    double sum = 0;
    bool any = false;
    QString first;
    const int year = app_->currentYear();
    // Entries repeat their hours ("0:30" many times): a text is read once
    // while it repeats, and still added in list order.
    QString lastText;
    std::optional<double> lastNumber;
    bool haveLast = false;
    for (const QString& text : typed) {
        if (!haveLast || text != lastText) {
            const engine::TypedInput input =
                engine::readTypedInput(text.toStdString(), cellFormat, app_->locale(), year);
            lastText = text;
            haveLast = true;
            lastNumber = input.kind == engine::TypedInput::Kind::Number
                             ? std::optional<double>(input.number)
                             : std::nullopt;
        }
        if (!lastNumber) {
            notNumbers << text;
            continue;
        }
        if (!any) first = text;
        any = true;
        sum += *lastNumber;
    }
    if (!any) return notNumbers;
    // The first entry sets the format as typing it would; the sum then
    // replaces its value.
    setValue(first);
    engine::Cell& target = cell();
    target.value = engine::CellValue::fromNumber(sum);
    book.markDirty();
    return notNumbers;
}

}  // namespace tallowby::automation
