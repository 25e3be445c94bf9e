#pragma once

// Settings stores as the window writes them, generated for the benchmarks.

#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

#include "app/ini_text.h"
#include "timesheet/packed_list.h"
#include "timesheet/settings_keys.h"

namespace bench_stores {

// A store in `folder` with the sample's general fields, seven rates and
// `entries` hours entries spread over the days and types; each entry's day
// text is padded to `dayTextLength` characters (long texts make big stores
// with few entries). The store's path.
inline QString writeStore(const QString& folder, int entries, int dayTextLength = 0) {
    namespace keys = tallowby::settings_keys;
    using tallowby::ini_text::encodeValue;
    static const char* const kDays[] = {
        "Monday 30.08.21", "Tuesday 31.08.21",  "Wednesday 01.09.21", "Thursday 02.09.21",
        "Friday 03.09.21", "Saturday 04.09.21", "Sunday 05.09.21"};
    static const char* const kTypes[] = {"Regular", "Overtime", "Illness", "Vacation",
                                         "Holiday", "Unpaid",   "Other"};
    std::vector<QStringList> rates;
    for (const char* type : kTypes) rates.push_back({QString::fromLatin1(type), "11.50"});
    std::vector<QStringList> hours;
    hours.reserve(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const int day = i % 7;
        const int type = (i / 7) % 7;
        QString dayText = QString::fromLatin1(kDays[day]);
        if (dayText.size() < dayTextLength) dayText = dayText.leftJustified(dayTextLength, u'.');
        hours.push_back({dayText, QString::fromLatin1(kTypes[type]), "00:01", QString::number(day),
                         QString::number(type)});
    }
    QString text = QStringLiteral("[Tallowby]\n");
    auto line = [&](const char* key, const QString& value) {
        text += QLatin1String(key) + u'=' + encodeValue(value) + u'\n';
    };
    line(keys::kCompany, "ACME Inc");
    line(keys::kAddress, "Birchwood st");
    line(keys::kCity, "French Leek, IN");
    line(keys::kPhone, "(988) 913-5480");
    line(keys::kEmployee, "Arlen Tovey Jr.");
    line(keys::kSupervisor, "Rolf Ambry");
    line(keys::kWeekStart, "2021-08-30");
    line(keys::kRates, tallowby::packed_list::pack(rates));
    line(keys::kHours, tallowby::packed_list::pack(hours));
    const QString path = folder + QStringLiteral("/Marrowick.ini");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
    return path;
}

}  // namespace bench_stores
