#pragma once

#include <QString>
#include <QStringList>

class QTreeWidget;

// The hours list keeps each entry's day and type both as an index and as the
// text the list shows; these keep the texts telling the truth when the week
// start or a rate's description changes.
namespace tallowby::entry_labels {

// Column `textColumn` of every row whose `indexColumn` holds a whole number n
// with a label becomes labels[n]; rows with other indexes keep their text.
void relabel(QTreeWidget* list, int textColumn, int indexColumn, const QStringList& labels);

// The same for the rows whose index is `index` alone.
void relabel(QTreeWidget* list, int textColumn, int indexColumn, int index, const QString& label);

}  // namespace tallowby::entry_labels
