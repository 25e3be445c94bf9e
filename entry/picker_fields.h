#pragma once

#include <QDateEdit>

namespace tallowby {

// A date field that the Tab key leaves as a whole, like every other
// control of the window (Qt's own would step through day, month and year first).
class DatePicker : public QDateEdit {
  public:
    using QDateEdit::QDateEdit;

  protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

}  // namespace tallowby
