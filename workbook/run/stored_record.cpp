#include "workbook/run/stored_record.h"

#include <QLocale>

#include "app/packed_list.h"
#include "app/program.h"
#include "app/prompter.h"
#include "app/week_start_date.h"

namespace tallowby {

namespace {
QString field(const QStringList& fields, qsizetype index) {
    return index < fields.size() ? fields[index] : QString();
}
}  // namespace

TimesheetRecord recordFromSettings(const SettingsStore& store) {
    TimesheetRecord record;
    record.company = store.GetSetting(QStringLiteral("txtName"));
    record.address = store.GetSetting(QStringLiteral("txtLocation"));
    record.city = store.GetSetting(QStringLiteral("txtCity"));
    record.phone = store.GetSetting(QStringLiteral("txtPhone"));
    record.employee = store.GetSetting(QStringLiteral("txtEmp"));
    record.supervisor = store.GetSetting(QStringLiteral("txtSVisor"));
    const QDate today = QDate::currentDate();
    const QString storedDate = store.GetSetting(QStringLiteral("dtpDate"));
    if (week_start_date::isUnreadable(storedDate, QLocale(), today))
        prompter().message(nullptr, program::appTitle(),
                           week_start_date::unreadableNotice(storedDate), Prompter::Icon::Warning,
                           Prompter::Buttons::Ok);
    record.weekStart =
        week_start_date::fromStoredText(storedDate, QLocale(), today).value_or(today);

    const QString rates = store.GetSetting(QStringLiteral("Rates"));
    if (rates.trimmed().isEmpty()) {
        for (const char* name :
             {"Regular", "Overtime", "Illness", "Vacation", "Holiday", "Unpaid", "Other"})
            record.rates.push_back({QString::fromLatin1(name), QString()});
    } else {
        for (const QStringList& row : packed_list::unpack(rates))
            record.rates.push_back({field(row, 0), field(row, 1)});
    }
    for (const QStringList& row : packed_list::unpack(store.GetSetting(QStringLiteral("Hours"))))
        record.hours.push_back(
            {field(row, 0), field(row, 1), field(row, 2), field(row, 3), field(row, 4)});
    return record;
}

}  // namespace tallowby
