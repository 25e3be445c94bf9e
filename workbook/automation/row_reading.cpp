// Reading many rows of a sheet in one walk.
#include <algorithm>

#include "app/failure.h"
#include "workbook/automation/application.h"

namespace tallowby::automation {

namespace {
constexpr int kMaxColumns = 256;
constexpr int kMaxRows = 65536;
}  // namespace

const engine::Cell* RowReading::at(int column) const {
    if (column < 1 || column > static_cast<int>(cells_.size())) return nullptr;
    return cells_[static_cast<size_t>(column - 1)];
}

std::optional<double> RowReading::number(int column) const {
    const engine::Cell* c = at(column);
    if (!c || c->value.type != engine::CellValue::Type::Number) return std::nullopt;
    return c->value.number;
}

QString RowReading::text(int column) const {
    const engine::Cell* c = at(column);
    if (!c || c->value.type != engine::CellValue::Type::Text) return {};
    return QString::fromStdString(c->value.text);
}

void Worksheet::ReadRows(int firstRow, int lastRow, int lastColumn,
                         const std::function<void(const RowReading&)>& visit) const {
    owner_->app_->requireRunning();
    if (firstRow < 1 || lastRow > kMaxRows || lastColumn < 1 || lastColumn > kMaxColumns)
        throw Failure(QStringLiteral("Rows %1 to %2, columns 1 to %3 are outside the sheet.")
                          .arg(firstRow)
                          .arg(lastRow)
                          .arg(lastColumn));
    const auto& cells = sheet().cells();
    auto next = cells.lower_bound(engine::CellAddress{static_cast<uint16_t>(firstRow - 1), 0});
    RowReading reading;
    reading.cells_.resize(static_cast<size_t>(lastColumn));
    for (int row = firstRow; row <= lastRow; ++row) {
        std::fill(reading.cells_.begin(), reading.cells_.end(), nullptr);
        for (; next != cells.end() && next->first.row == row - 1; ++next)
            if (next->first.col < lastColumn) reading.cells_[next->first.col] = &next->second;
        reading.row_ = row;
        visit(reading);
    }
}

}  // namespace tallowby::automation
