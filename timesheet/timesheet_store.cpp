#include "timesheet/timesheet_store.h"

#include <QLocale>

#include "timesheet/packed_list.h"
#include "timesheet/settings_keys.h"
#include "timesheet/week_start_date.h"

namespace tallowby {

namespace {
QString latin1(const char* key) {
    return QString::fromLatin1(key);
}

QString at(const QStringList& fields, qsizetype index) {
    return index < fields.size() ? fields[index] : QString();
}
}  // namespace

bool TimesheetStore::isBlankText(const QString& text) {
    for (QChar c : text)
        if (c != QLatin1Char(' ')) return false;
    return true;
}

QString TimesheetStore::valueName(const QString& key) {
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

QString TimesheetStore::field(const char* key) const {
    return settings_.value(latin1(key), QString());
}

void TimesheetStore::saveField(const char* key, const QString& text) {
    settings_.setValue(latin1(key), text);
}

TimesheetStore::WeekStart TimesheetStore::weekStart(const QDate& today) const {
    WeekStart result;
    result.storedText = field(settings_keys::kWeekStart);
    result.date = week_start_date::fromStoredText(result.storedText, QLocale(), today);
    // Text that is there but names no date; merely absent text is not unreadable.
    result.unreadable = !result.date && !result.storedText.trimmed().isEmpty();
    return result;
}

void TimesheetStore::saveWeekStart(const QDate& date) {
    saveField(settings_keys::kWeekStart, week_start_date::toStoredText(date));
}

std::optional<std::vector<QStringList>> TimesheetStore::storedRates() const {
    const QString rates = field(settings_keys::kRates);
    if (isBlankText(rates)) return std::nullopt;
    return packed_list::unpack(rates);
}

void TimesheetStore::forEachStoredHoursRow(
    const std::function<void(const QStringList&)>& take) const {
    // Read from the store's own bytes piece by piece: a list of a million
    // entries is never held as one text.
    packed_list::RowReader reader(take);
    settings_.readValueInPieces(latin1(settings_keys::kHours),
                                [&](QByteArrayView piece) { reader.feed(piece); });
    reader.finish();
}

std::vector<QStringList> TimesheetStore::storedHours() const {
    std::vector<QStringList> rows;
    forEachStoredHoursRow([&](const QStringList& row) { rows.push_back(row); });
    return rows;
}

void TimesheetStore::saveRates(const std::vector<QStringList>& rows) {
    saveField(settings_keys::kRates, packed_list::pack(rows));
}

void TimesheetStore::saveHours(const std::vector<QStringList>& rows) {
    saveField(settings_keys::kHours, packed_list::pack(rows));
}

void TimesheetStore::saveLists(const std::vector<QStringList>& rates,
                               const std::vector<QStringList>& hours) {
    settings_.setValues({{latin1(settings_keys::kRates), packed_list::pack(rates)},
                         {latin1(settings_keys::kHours), packed_list::pack(hours)}});
}

QString TimesheetStore::listTab() const {
    return settings_.value(latin1(settings_keys::kListTab), QStringLiteral("0"));
}

void TimesheetStore::saveListTab(int index) {
    saveField(settings_keys::kListTab, QString::number(index));
}

TimesheetRecord TimesheetStore::load(const QDate& today, QStringList* notices) const {
    TimesheetRecord record;
    record.company = field(settings_keys::kCompany);
    record.address = field(settings_keys::kAddress);
    record.city = field(settings_keys::kCity);
    record.phone = field(settings_keys::kPhone);
    const WeekStart week = weekStart(today);
    if (week.unreadable && notices)
        notices->append(week_start_date::unreadableNotice(week.storedText));
    record.weekStart = week.date.value_or(today);
    record.employee = field(settings_keys::kEmployee);
    record.supervisor = field(settings_keys::kSupervisor);
    if (const auto rates = storedRates()) {
        for (const QStringList& row : *rates) record.rates.push_back({at(row, 0), at(row, 1)});
    } else {
        for (const char* name : kDefaultRateDescriptions)
            record.rates.push_back({QString::fromLatin1(name), QString()});
    }
    // Row by row: a store of a million entries is never held twice. The rows
    // are counted first, so the list never grows by copying what it holds.
    qsizetype separators = 0;
    settings_.readValueInPieces(latin1(settings_keys::kHours),
                                [&](QByteArrayView piece) { separators += piece.count('|'); });
    record.hours.reserve(static_cast<size_t>(separators) + 1);
    forEachStoredHoursRow([&](const QStringList& row) {
        record.hours.push_back({at(row, 0), at(row, 1), at(row, 2), at(row, 3), at(row, 4)});
    });
    return record;
}

}  // namespace tallowby
