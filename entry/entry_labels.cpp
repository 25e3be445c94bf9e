#include "entry/entry_labels.h"

#include <QTreeWidget>

#include "entry/list_fit.h"

namespace tallowby::entry_labels {

namespace {

int indexIn(const QTreeWidgetItem* row, int column) {
    bool ok = false;
    const int n = row->text(column).trimmed().toInt(&ok);
    return ok ? n : -1;
}

}  // namespace

void relabel(QTreeWidget* list, int textColumn, int indexColumn, const QStringList& labels) {
    const list_fit::HeldFitting fitOnceAtTheEnd(list);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        const int n = indexIn(row, indexColumn);
        if (n >= 0 && n < labels.size()) row->setText(textColumn, labels[n]);
    }
}

void relabel(QTreeWidget* list, int textColumn, int indexColumn, int index, const QString& label) {
    const list_fit::HeldFitting fitOnceAtTheEnd(list);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = list->topLevelItem(i);
        if (index >= 0 && indexIn(row, indexColumn) == index) row->setText(textColumn, label);
    }
}

}  // namespace tallowby::entry_labels
