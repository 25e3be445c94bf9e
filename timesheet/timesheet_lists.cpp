#include "timesheet/timesheet_lists.h"

#include <QLocale>
#include <QUndoCommand>
#include <algorithm>
#include <utility>

#include "timesheet/duration_text.h"
#include "timesheet/week_start_date.h"
#include "timesheet/week_totals.h"

namespace tallowby {

// One step on the undo stack: the timesheet before and after, and which
// parts of it the step changed (only those are put back).
class TimesheetStep : public QUndoCommand {
  public:
    TimesheetStep(TimesheetLists& lists, const QString& name, TimesheetLists::Parts parts,
                  TimesheetRecord before, TimesheetRecord after)
        : QUndoCommand(name),
          lists_(lists),
          parts_(parts),
          before_(std::move(before)),
          after_(std::move(after)) {}
    void redo() override { lists_.apply(after_, parts_); }
    void undo() override { lists_.apply(before_, parts_); }

  private:
    TimesheetLists& lists_;
    TimesheetLists::Parts parts_;
    TimesheetRecord before_;
    TimesheetRecord after_;
};

namespace {

int indexOf(const QString& text) {
    return week_totals::indexOf(text);
}

}  // namespace

TimesheetLists::TimesheetLists(QObject* parent) : QObject(parent) {
    // Whole-list snapshots: a bounded history keeps memory bounded too.
    undo_.setUndoLimit(200);
}

void TimesheetLists::load(const TimesheetRecord& record) {
    undo_.clear();
    record_ = record;
    emit changed(Lists | WeekStart | GeneralFields);
}

void TimesheetLists::setWeekStart(QDate date) {
    if (record_.weekStart == date) return;
    record_.weekStart = date;
    relabelDays(record_.hours);
    emit changed(Lists | WeekStart);
}

void TimesheetLists::setGeneralField(QString TimesheetRecord::*field, const QString& text) {
    record_.*field = text;
}

QString TimesheetLists::dayLabel(int dayIndex) const {
    return week_start_date::dayChoiceText(record_.weekStart.addDays(dayIndex), QLocale());
}

HoursEntry TimesheetLists::makeEntry(int dayIndex, int rateIndex, int minutes) const {
    HoursEntry e;
    e.day = dayIndex >= 0 && dayIndex < week_totals::kDays ? dayLabel(dayIndex) : QString();
    if (rateIndex >= 0 && static_cast<size_t>(rateIndex) < record_.rates.size())
        e.rateType = record_.rates[static_cast<size_t>(rateIndex)].description;
    e.hours = duration_text::format(minutes);
    e.dayIndex = QString::number(dayIndex);
    e.rateIndex = QString::number(rateIndex);
    return e;
}

void TimesheetLists::relabelDays(std::vector<HoursEntry>& hours) const {
    for (HoursEntry& e : hours) {
        const int d = indexOf(e.dayIndex);
        if (d >= 0 && d < week_totals::kDays) e.day = dayLabel(d);
    }
}

void TimesheetLists::push(const QString& name, Parts parts, TimesheetRecord after) {
    push(name, parts, record_, std::move(after));
}

void TimesheetLists::push(const QString& name, Parts parts, TimesheetRecord before,
                          TimesheetRecord after) {
    undo_.push(new TimesheetStep(*this, name, parts, std::move(before), std::move(after)));
}

void TimesheetLists::apply(const TimesheetRecord& state, Parts parts) {
    if (parts & Lists) {
        record_.rates = state.rates;
        record_.hours = state.hours;
    }
    if (parts & WeekStart) record_.weekStart = state.weekStart;
    if (parts & GeneralFields) {
        record_.company = state.company;
        record_.address = state.address;
        record_.city = state.city;
        record_.phone = state.phone;
        record_.employee = state.employee;
        record_.supervisor = state.supervisor;
    }
    // The week start may have moved since the step was taken.
    if ((parts & Lists) && state.weekStart != record_.weekStart) relabelDays(record_.hours);
    emit changed(parts);
}

void TimesheetLists::addHours(const std::vector<HoursEntry>& entries) {
    if (entries.empty()) return;
    TimesheetRecord after = record_;
    after.hours.insert(after.hours.end(), entries.begin(), entries.end());
    push(entries.size() == 1 ? tr("Add Hours")
                             : tr("Add %n Entries", nullptr, static_cast<int>(entries.size())),
         Lists, std::move(after));
}

void TimesheetLists::updateHours(int row, const HoursEntry& entry) {
    if (row < 0 || static_cast<size_t>(row) >= record_.hours.size()) return;
    TimesheetRecord after = record_;
    after.hours[static_cast<size_t>(row)] = entry;
    push(tr("Update Entry"), Lists, std::move(after));
}

void TimesheetLists::deleteHours(QList<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    TimesheetRecord after = record_;
    int removed = 0;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        if (*it < 0 || static_cast<size_t>(*it) >= after.hours.size()) continue;
        after.hours.erase(after.hours.begin() + *it);
        ++removed;
    }
    if (removed == 0) return;
    push(tr("Delete %n Entries", nullptr, removed), Lists, std::move(after));
}

void TimesheetLists::setCell(int dayIndex, int rateIndex, std::optional<int> minutes) {
    if (dayIndex < 0 || dayIndex >= week_totals::kDays || rateIndex < 0 ||
        static_cast<size_t>(rateIndex) >= record_.rates.size())
        return;
    TimesheetRecord after = record_;
    std::vector<HoursEntry> kept;
    kept.reserve(after.hours.size() + 1);
    std::optional<size_t> place;
    for (const HoursEntry& e : after.hours) {
        if (indexOf(e.dayIndex) == dayIndex && indexOf(e.rateIndex) == rateIndex) {
            if (!place) place = kept.size();
            continue;
        }
        kept.push_back(e);
    }
    if (minutes && *minutes > 0) {
        const HoursEntry entry = makeEntry(dayIndex, rateIndex, *minutes);
        kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(place.value_or(kept.size())), entry);
    }
    if (!place && !(minutes && *minutes > 0)) return;  // an empty cell left empty
    after.hours = std::move(kept);
    push(tr("Set Hours"), Lists, std::move(after));
}

void TimesheetLists::addRate(const RateEntry& rate) {
    TimesheetRecord after = record_;
    after.rates.push_back(rate);
    push(tr("Add Rate"), Lists, std::move(after));
}

void TimesheetLists::editRate(int row, const RateEntry& rate) {
    if (row < 0 || static_cast<size_t>(row) >= record_.rates.size()) return;
    TimesheetRecord after = record_;
    after.rates[static_cast<size_t>(row)] = rate;
    for (HoursEntry& e : after.hours)
        if (indexOf(e.rateIndex) == row) e.rateType = rate.description;
    push(tr("Edit Rate"), Lists, std::move(after));
}

void TimesheetLists::removeRate(int row) {
    if (row < 0 || static_cast<size_t>(row) >= record_.rates.size()) return;
    TimesheetRecord after = record_;
    after.rates.erase(after.rates.begin() + row);
    std::vector<HoursEntry> kept;
    kept.reserve(after.hours.size());
    for (HoursEntry e : after.hours) {
        const int index = indexOf(e.rateIndex);
        if (index == row) continue;
        if (index > row) e.rateIndex = QString::number(index - 1);
        kept.push_back(std::move(e));
    }
    after.hours = std::move(kept);
    push(tr("Remove Rate"), Lists, std::move(after));
}

int TimesheetLists::entriesOfRate(int row) const {
    return static_cast<int>(
        std::count_if(record_.hours.begin(), record_.hours.end(),
                      [row](const HoursEntry& e) { return indexOf(e.rateIndex) == row; }));
}

void TimesheetLists::newWeek(bool copyHours) {
    TimesheetRecord after = record_;
    after.weekStart = record_.weekStart.addDays(7);
    if (copyHours) {
        // Same weekdays, the new dates in their texts.
        const QDate start = after.weekStart;
        for (HoursEntry& e : after.hours) {
            const int d = indexOf(e.dayIndex);
            if (d >= 0 && d < week_totals::kDays)
                e.day = week_start_date::dayChoiceText(start.addDays(d), QLocale());
        }
    } else {
        after.hours.clear();
    }
    push(tr("New Week"), Lists | WeekStart, std::move(after));
}

void TimesheetLists::replaceAll(const TimesheetRecord& before, const TimesheetRecord& after,
                                const QString& stepName) {
    push(stepName, Lists | WeekStart | GeneralFields, before, after);
}

}  // namespace tallowby
