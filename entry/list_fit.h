#pragma once

#include <QList>

class QTreeWidget;
class QWidget;

// Keeps a report list fully inside the tab page it lies on and its columns
// as wide as their content, so neither its bottom nor its right side is cut
// and no horizontal scroll bar is needed while the content fits.
namespace tallowby::list_fit {

// Widths of the columns: each at least as wide as its content; what is left
// of `available` goes to the columns in proportion to their preferred widths.
// Columns whose content is wider than `available` in all keep their content
// widths. A preferred width of 0 marks a hidden column, which gets 0.
QList<int> fitColumns(const QList<int>& contentWidths, const QList<int>& preferredWidths,
                      int available);

// The list's height: its designed height, less what would reach past the
// page's bottom less `bottomMargin`.
int fittedHeight(int designedHeight, int top, int pageHeight, int bottomMargin);

// Applies both whenever the page or the list's viewport changes size and
// whenever rows come or go. `preferredWidths` in pixels, 0 for hidden columns.
void keepFitted(QTreeWidget* list, QWidget* page, QList<int> preferredWidths);

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
