#pragma once

#include <QList>

class QTreeWidget;

// Keeps a report list's columns as wide as their content and sharing the
// rest of its width, so no horizontal scroll bar is needed while the content
// fits. (The page's layout keeps the list itself inside its page.)
namespace tallowby::list_fit {

// Widths of the columns: each at least as wide as its content; what is left
// of `available` goes to the columns in proportion to their preferred widths.
// Columns whose content is wider than `available` in all keep their content
// widths. A preferred width of 0 marks a hidden column, which gets 0.
QList<int> fitColumns(const QList<int>& contentWidths, const QList<int>& preferredWidths,
                      int available);

// Applies fitColumns whenever the list's viewport changes size and whenever
// rows come or go. `preferredWidths` in pixels, 0 for hidden columns.
void keepFitted(QTreeWidget* list, QList<int> preferredWidths);

// Holds back a kept-fitted list's column fitting while many rows are put in
// or changed at once (each would measure the whole list again), then fits
// once when the last hold ends. Does nothing for a list that is not kept fitted.
class HeldFitting {
  public:
    explicit HeldFitting(QTreeWidget* list);
    ~HeldFitting();
    HeldFitting(const HeldFitting&) = delete;
    HeldFitting& operator=(const HeldFitting&) = delete;

  private:
    QTreeWidget* list_;
};

}  // namespace tallowby::list_fit
