#pragma once

#include <QLineEdit>

namespace tallowby {

// A single-line text box that selects its whole text whenever it gains the
// focus, by keyboard or by mouse, so typing replaces the old value.
class SelectAllLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool selectOnRelease_ = false;
};

}  // namespace tallowby
