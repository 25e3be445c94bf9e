#include "app/store_write_failures.h"

#include "app/settings_keys.h"

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

QString storedValueName(const QString& key) {
    namespace k = settings_keys;
    const struct {
        const char* key;
        const char* name;
    } names[] = {{k::kCompany, "the company name"},
                 {k::kAddress, "the address"},
                 {k::kCity, "the city"},
                 {k::kPhone, "the phone"},
                 {k::kEmployee, "the employee name"},
                 {k::kSupervisor, "the supervisor name"},
                 {k::kWeekStart, "the week start"},
                 {k::kRates, "the hour rates"},
                 {k::kHours, "the hours list"},
                 {k::kListTab, "the selected tab"}};
    for (const auto& n : names)
        if (key == QLatin1String(n.key)) return QString::fromLatin1(n.name);
    return key;
}

}  // namespace tallowby
