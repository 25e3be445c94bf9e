#pragma once

#include <QStringList>
#include <vector>

class QTreeWidget;

// Reading the report lists row by row, every column included (hidden ones too).
namespace tallowby::list_rows {

std::vector<QStringList> read(const QTreeWidget* list);

// Once a list holds rows one of them is current: the first, unless one is.
void ensureCurrentRow(QTreeWidget* list);

}  // namespace tallowby::list_rows
