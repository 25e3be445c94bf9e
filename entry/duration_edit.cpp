#include "entry/duration_edit.h"

#include <QLocale>

#include "timesheet/duration_text.h"

namespace tallowby {

DurationEdit::DurationEdit(QWidget* parent) : SelectAllLineEdit(parent) {
    setPlaceholderText(QStringLiteral("hh:mm"));
    setText(duration_text::format(0));
}

std::optional<int> DurationEdit::minutes() const {
    return duration_text::parse(text(), QLocale());
}

void DurationEdit::setMinutes(int minutes) {
    setText(duration_text::format(minutes));
}

QTime DurationEdit::time() const {
    const std::optional<int> m = minutes();
    if (!m || *m >= duration_text::kMaxMinutes) return {};
    return QTime(*m / 60, *m % 60);
}

void DurationEdit::setTime(QTime time) {
    setMinutes(time.isValid() ? time.hour() * 60 + time.minute() : 0);
}

void DurationEdit::focusOutEvent(QFocusEvent* event) {
    if (const std::optional<int> m = minutes()) setMinutes(*m);
    SelectAllLineEdit::focusOutEvent(event);
}

}  // namespace tallowby
