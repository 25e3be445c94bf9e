#include "timesheet/timesheet_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cerrno>
#include <cstring>
#include <optional>

#include "app/atomic_file.h"
#include "app/failure.h"
#include "app/ini_text.h"
#include "app/output_target.h"
#include "app/settings_store.h"
#include "timesheet/packed_list.h"
#include "timesheet/settings_keys.h"
#include "timesheet/template_layout.h"
#include "timesheet/timesheet_pdf.h"
#include "timesheet/timesheet_store.h"
#include "timesheet/week_start_date.h"
#include "timesheet/week_totals.h"

namespace tallowby::timesheet_file_io {

namespace {

// Far beyond any timesheet; a bigger file is not one.
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

[[noreturn]] void refuse(const QString& path, const QString& why) {
    throw Failure(QStringLiteral("%1 cannot be opened as a timesheet: %2.").arg(path, why));
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The file's bytes; non-blocking, so a FIFO named by mistake cannot hang the window.
QByteArray readBytes(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) refuse(path, systemError());
    std::optional<QString> problem;
    QByteArray bytes;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        problem = systemError();
    } else if (const auto kind = output_target::kindRefused(st.st_mode)) {
        problem = kind;
    } else if (st.st_size > kLargestFile) {
        problem = QStringLiteral("it is too large");
    } else {
        bytes.resize(static_cast<qsizetype>(st.st_size));
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n =
                ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                problem = systemError();
                break;
            }
            if (n == 0) break;
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    if (problem) refuse(path, *problem);
    return bytes;
}

QString at(const QStringList& fields, qsizetype index) {
    return index < fields.size() ? fields[index] : QString();
}

// An index field that is empty (rows of older stores) or a whole number
// from `lowest` to `highest`.
bool indexWithin(const QString& text, int lowest, int highest) {
    if (text.isEmpty()) return true;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= lowest && value <= highest;
}

}  // namespace

QString dialogFilter() {
    return QStringLiteral("Timesheet files (*.ini)|*.ini|All files|*|");
}

TimesheetRecord read(const QString& path, const QDate& today) {
    const QByteArray bytes = readBytes(path);
    if (const auto why = ini_text::whyNotIniText(bytes)) refuse(path, *why);
    const QString section = QString::fromLatin1(SettingsStore::kSection);
    const QByteArrayList lines = ini_text::linesOf(bytes);
    if (!ini_text::shapeOf(lines, section).present)
        refuse(path, QStringLiteral("it has no [%1] section").arg(section));
    const auto value = [&](const char* key) {
        return ini_text::find(lines, section, QString::fromLatin1(key)).value_or(QString());
    };

    namespace k = settings_keys;
    TimesheetRecord record;
    record.company = value(k::kCompany);
    record.address = value(k::kAddress);
    record.city = value(k::kCity);
    record.phone = value(k::kPhone);
    record.employee = value(k::kEmployee);
    record.supervisor = value(k::kSupervisor);
    const QString week = value(k::kWeekStart);
    if (week.trimmed().isEmpty()) {
        record.weekStart = today;
    } else if (const auto date = week_start_date::fromStoredText(week, QLocale(), today)) {
        record.weekStart = *date;
    } else {
        refuse(path, QStringLiteral("its week start \"%1\" is not a date").arg(week));
    }

    const QString rates = value(k::kRates);
    if (TimesheetStore::isBlankText(rates)) {
        for (const char* name : kDefaultRateDescriptions)
            record.rates.push_back({QString::fromLatin1(name), QString()});
    } else {
        int row = 0;
        for (const QStringList& fields : packed_list::unpack(rates)) {
            ++row;
            if (fields.size() > TimesheetStore::kRateFields)
                refuse(path, QStringLiteral("its hour rates are damaged (rate %1 has %2 fields)")
                                 .arg(row)
                                 .arg(fields.size()));
            record.rates.push_back({at(fields, 0), at(fields, 1)});
        }
    }
    const auto rateCount = static_cast<int>(record.rates.size());
    if (rateCount > template_layout::kMostRateEntries)
        refuse(path, QStringLiteral("it has %1 hour rates, and a timesheet holds at most %2")
                         .arg(rateCount)
                         .arg(template_layout::kMostRateEntries));

    int row = 0;
    for (const QStringList& fields : packed_list::unpack(value(k::kHours))) {
        ++row;
        const bool fits = fields.size() <= TimesheetStore::kHoursFields &&
                          indexWithin(at(fields, 3), -1, week_totals::kDays - 1) &&
                          indexWithin(at(fields, 4), -1, rateCount - 1);
        if (!fits) refuse(path, QStringLiteral("its hours list is damaged (entry %1)").arg(row));
        record.hours.push_back(
            {at(fields, 0), at(fields, 1), at(fields, 2), at(fields, 3), at(fields, 4)});
    }
    return record;
}

QByteArray text(const TimesheetRecord& record) {
    namespace k = settings_keys;
    std::vector<QStringList> rates;
    for (const RateEntry& r : record.rates) rates.push_back({r.description, r.rate});
    std::vector<QStringList> hours;
    for (const HoursEntry& e : record.hours)
        hours.push_back({e.day, e.rateType, e.hours, e.dayIndex, e.rateIndex});
    const std::pair<const char*, QString> values[] = {
        {k::kCompany, record.company},
        {k::kAddress, record.address},
        {k::kCity, record.city},
        {k::kPhone, record.phone},
        {k::kEmployee, record.employee},
        {k::kSupervisor, record.supervisor},
        {k::kWeekStart, week_start_date::toStoredText(record.weekStart)},
        {k::kRates, packed_list::pack(rates)},
        {k::kHours, packed_list::pack(hours)}};
    QByteArrayList lines;
    const QString section = QString::fromLatin1(SettingsStore::kSection);
    for (const auto& [key, value] : values)
        ini_text::set(lines, section, QString::fromLatin1(key), value);
    return lines.join('\n') + '\n';
}

void write(const QString& path, const TimesheetRecord& record) {
    output_target::check(path);
    // Pay rates, as in the store: a new file is the owner's only; a file
    // replaced keeps the permissions it had.
    writeFileAtomically(path, text(record), 0600);
}

QString suggestedName(const TimesheetRecord& record) {
    const QString pdf = suggestedPdfFileName({record.employee, record.weekStart, QString()});
    return pdf.left(pdf.size() - 4) + QStringLiteral(".ini");
}

}  // namespace tallowby::timesheet_file_io
