#include "app/store_write_failures.h"

namespace tallowby {

std::optional<QString> StoreWriteFailures::failed(const QString& reason, const QString& notSaved) {
    ++count_;
    lastReason_ = reason;
    if (count_ > 1) return std::nullopt;
    return QStringLiteral(
               "Tallowby cannot save your changes to its settings file:\n%1\n\nNot saved: %2. "
               "What you type stays in the window, and every further change tries to save it "
               "all again; until one succeeds the window's title says \"%3\".")
        .arg(reason, notSaved, titleMark());
}

QString StoreWriteFailures::closeQuestion() const {
    QString text = QStringLiteral(
        "Your changes are not saved to the settings file, so they are lost when Tallowby "
        "closes.");
    if (!lastReason_.isEmpty()) text += QStringLiteral("\n\nThe last save failed: ") + lastReason_;
    return text;
}

QString StoreWriteFailures::titleMark() {
    return QStringLiteral("not saved");
}

}  // namespace tallowby
