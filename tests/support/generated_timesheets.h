#pragma once

// A folder of generated timesheet files for the batch's tests and benchmark,
// with what each one's sheet must show computed from the file's values alone.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

namespace tallowby::testing {

struct GeneratedTimesheet {
    QString file;  // the file's name in the folder
    QString employee;
    QDate weekStart;
    std::vector<double> rates;
    std::vector<double> hours;  // per rate type, of the entries with a place
    int leftOut = 0;            // entries without a place on the sheet
    double totalHours() const {
        double sum = 0;
        for (const double h : hours) sum += h;
        return sum;
    }
    double totalPay() const {
        double sum = 0;
        for (size_t i = 0; i < hours.size(); ++i) sum += hours[i] * rates[i];
        return sum;
    }
};

// Timesheet `i` of a batch: 1 to 40 rate types, an entry given twice for one
// day and type (the cell sums them), entries without a day or a rate column
// on every fifth, employees named "Employee NN" except a few that collide.
inline GeneratedTimesheet generateTimesheet(int i, QByteArray& ini) {
    GeneratedTimesheet t;
    t.file = QStringLiteral("ts-%1.ini").arg(i, 3, 10, QLatin1Char('0'));
    t.employee = QStringLiteral("Employee %1").arg(i, 2, 10, QLatin1Char('0'));
    if (i == 10 || i == 11) t.employee = QStringLiteral("Dana Collide");
    if (i == 12) t.employee = QStringLiteral("dana collide");
    if (i == 13) t.employee = QStringLiteral("Lee/Ann: \"Night\"");
    t.weekStart = i >= 10 && i <= 12 ? QDate(2021, 8, 30) : QDate(2021, 8, 30).addDays(7 * (i % 3));
    static const int kRateCounts[] = {1, 3, 7, 9, 15, 40};
    const int rateCount = kRateCounts[i % 6];
    QStringList rates;
    for (int r = 0; r < rateCount; ++r) {
        const int cents = 1000 + 25 * r + i;
        t.rates.push_back(cents / 100.0);
        rates << QStringLiteral("Rate %1^%2.%3")
                     .arg(r)
                     .arg(cents / 100)
                     .arg(cents % 100, 2, 10, QLatin1Char('0'));
    }
    t.hours.assign(static_cast<size_t>(rateCount), 0.0);
    QStringList hours;
    const int entries = 5 + i % 7;
    for (int k = 0; k <= entries; ++k) {
        // The last entry repeats the first: same day, same type.
        const int n = k == entries ? 0 : k;
        const int day = (n * 3 + i) % 7;
        const int rate = (n + i) % rateCount;
        const int h = 1 + (n + i) % 9;
        const int m = (n * 15) % 60;
        hours << QStringLiteral("D%1^Rate %2^%3:%4^%1^%2")
                     .arg(day)
                     .arg(rate)
                     .arg(h, 2, 10, QLatin1Char('0'))
                     .arg(m, 2, 10, QLatin1Char('0'));
        t.hours[static_cast<size_t>(rate)] += h + m / 60.0;
    }
    if (i % 5 == 0) {
        hours << QStringLiteral("^Rate 0^01:00^-1^0") << QStringLiteral("Mon^Gone^02:00^0^300");
        t.leftOut = 2;
    }
    ini = QStringLiteral(
              "[Tallowby]\ntxtName=Payroll Test Co\ntxtEmp=%1\ntxtSVisor=Sam\n"
              "dtpDate=%2\nRates=%3\nHours=%4\n")
              .arg(t.employee, t.weekStart.toString(Qt::ISODate), rates.join('|'), hours.join('|'))
              .toUtf8();
    return t;
}

// `count` timesheets written to `folder`.
inline std::vector<GeneratedTimesheet> writeTimesheets(const QString& folder, int count) {
    std::vector<GeneratedTimesheet> made;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QByteArray ini;
        made.push_back(generateTimesheet(i, ini));
        QFile file(QDir(folder).filePath(made.back().file));
        if (file.open(QIODevice::WriteOnly)) file.write(ini);
    }
    return made;
}

}  // namespace tallowby::testing
