#pragma once
// The weeks whose workbook and picture are kept as golden files
// (tests/data/golden) and timed by the benchmarks: fixed dates and texts, so
// what the generation run makes of them never depends on the day it runs.
#include <QDate>
#include <QString>

#include "timesheet/sample_data.h"
#include "timesheet/timesheet_record.h"

namespace tallowby::testing::golden_weeks {

// The sample data's general fields, with a fixed week start.
inline TimesheetRecord withGeneralFields() {
    namespace sd = sample_data;
    TimesheetRecord r;
    r.company = QString::fromUtf8(sd::kCompany);
    r.address = QString::fromUtf8(sd::kAddress);
    r.city = QString::fromUtf8(sd::kCity);
    r.phone = QString::fromUtf8(sd::kPhone);
    r.employee = QString::fromUtf8(sd::kEmployee);
    r.supervisor = QString::fromUtf8(sd::kSupervisor);
    r.weekStart = QDate(2021, 8, 30);
    return r;
}

// What "Load Sample/Example Data" gives on a fresh start: the seven default
// rate types without rates, the seven sample ones after them, and two hours
// for every (day, type) of the pattern.
inline TimesheetRecord sampleWeek() {
    TimesheetRecord r = withGeneralFields();
    for (const char* description : kDefaultRateDescriptions)
        r.rates.push_back({QString::fromLatin1(description), QString()});
    for (const sample_data::SampleRate& rate : sample_data::kRates)
        r.rates.push_back({QString::fromUtf8(rate.description), QString::fromUtf8(rate.rate)});
    const int types = static_cast<int>(r.rates.size());
    for (int d = 0; d < 7; ++d)
        for (int t = 0; t < types; ++t)
            if (sample_data::wantsEntry(d, t))
                r.hours.push_back({QStringLiteral("Day %1").arg(d),
                                   r.rates[static_cast<size_t>(t)].description,
                                   QString::fromLatin1(sample_data::kHours), QString::number(d),
                                   QString::number(t)});
    return r;
}

// N rate types, one two-hour entry for each on a day of its own turn: from
// seven (the template's columns) to many columns inserted and filled.
inline TimesheetRecord weekWithRates(int rates) {
    TimesheetRecord r = withGeneralFields();
    for (int i = 0; i < rates; ++i) {
        r.rates.push_back({QStringLiteral("Rate %1").arg(i), QString::number(10 + i % 9)});
        r.hours.push_back({QString(), QString(), QStringLiteral("02:00"), QString::number(i % 7),
                           QString::number(i)});
    }
    return r;
}

}  // namespace tallowby::testing::golden_weeks
