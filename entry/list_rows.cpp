#include "entry/list_rows.h"

#include <QTreeWidget>

namespace tallowby::list_rows {

std::vector<QStringList> read(const QTreeWidget* list) {
    std::vector<QStringList> rows;
    const int columns = list->columnCount();
    rows.reserve(static_cast<size_t>(list->topLevelItemCount()));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList fields;
        for (int c = 0; c < columns; ++c) fields.append(item->text(c));
        rows.push_back(std::move(fields));
    }
    return rows;
}

void ensureCurrentRow(QTreeWidget* list) {
    if (!list->currentItem() && list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
}

}  // namespace tallowby::list_rows
