#pragma once

#include <QTime>
#include <optional>

#include "entry/select_all_line_edit.h"

namespace tallowby {

// The hours of an entry as plain text: "8", "8:30", "830", "8.5" or the
// locale's "8,5" are all read, wherever the cursor is; leaving the box shows
// what was read as "hh:mm". Like the time field it replaces, it offers the
// duration as a time of day.
class DurationEdit : public SelectAllLineEdit {
    Q_OBJECT
  public:
    explicit DurationEdit(QWidget* parent = nullptr);

    // The minutes typed, or nothing when the text is no duration.
    std::optional<int> minutes() const;
    void setMinutes(int minutes);

    // The duration as a time of day (invalid when the text is none).
    QTime time() const;
    void setTime(QTime time);

  protected:
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace tallowby
