#include "entry/select_all_line_edit.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace tallowby {

void SelectAllLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectAll();
    // A click that brought the focus would place the cursor when it ends.
    selectOnRelease_ = event->reason() == Qt::MouseFocusReason;
}

void SelectAllLineEdit::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (selectOnRelease_) selectAll();
}

void SelectAllLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (selectOnRelease_) {
        selectOnRelease_ = false;
        selectAll();
    }
}

}  // namespace tallowby
