#pragma once

#include <QDate>
#include <QFlags>
#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <optional>
#include <vector>

#include "timesheet/timesheet_record.h"

namespace tallowby {

// The timesheet being typed: the hour-rate and hours lists, with the week
// start and general fields beside them. Every change a user makes to the
// lists goes through here as one undoable step; `changed` is the one place
// that says what changed. Entries keep the stored form (texts plus day and
// rate index); their day and type texts follow the week start and the rates.
class TimesheetLists : public QObject {
    Q_OBJECT
  public:
    enum Part { Lists = 1, WeekStart = 2, GeneralFields = 4 };
    Q_DECLARE_FLAGS(Parts, Part)

    explicit TimesheetLists(QObject* parent = nullptr);

    const TimesheetRecord& record() const { return record_; }
    const std::vector<RateEntry>& rates() const { return record_.rates; }
    const std::vector<HoursEntry>& hours() const { return record_.hours; }
    QUndoStack& undoStack() { return undo_; }

    // Taken as it stands, with nothing to undo (start-up).
    void load(const TimesheetRecord& record);
    // Typed by the user into the general fields or the date: kept, not undone
    // on their own. A new week start relabels the entries' day texts.
    void setWeekStart(QDate date);
    void setGeneralField(QString TimesheetRecord::*field, const QString& text);

    // The Day choice's text for a day index of this week.
    QString dayLabel(int dayIndex) const;
    // What an entry for this day, type and duration holds.
    HoursEntry makeEntry(int dayIndex, int rateIndex, int minutes) const;

    void addHours(const std::vector<HoursEntry>& entries);
    void updateHours(int row, const HoursEntry& entry);
    void deleteHours(QList<int> rows);
    // One cell of the week grid: that day and type get one entry of `minutes`
    // in place of their entries (at the first one's place); 0 or nothing
    // removes them.
    void setCell(int dayIndex, int rateIndex, std::optional<int> minutes);

    void addRate(const RateEntry& rate);
    // The entries of this type show its new description.
    void editRate(int row, const RateEntry& rate);
    // Its entries go with it; entries of later types keep their type.
    void removeRate(int row);
    int entriesOfRate(int row) const;

    // The week start 7 days on; the hours kept on the same weekdays, or none.
    void newWeek(bool copyHours);

    // One step from `before` to `after` (the sample data, whose fields the
    // window has already typed in): undo puts back all of `before`.
    void replaceAll(const TimesheetRecord& before, const TimesheetRecord& after,
                    const QString& stepName);

  signals:
    // Emitted after every change: the parts that changed. Everything that
    // shows or keeps the lists listens here.
    void changed(TimesheetLists::Parts parts);

  private:
    friend class TimesheetStep;
    void push(const QString& name, Parts parts, TimesheetRecord after);
    void push(const QString& name, Parts parts, TimesheetRecord before, TimesheetRecord after);
    void apply(const TimesheetRecord& state, Parts parts);
    void relabelDays(std::vector<HoursEntry>& hours) const;

    TimesheetRecord record_;
    QUndoStack undo_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TimesheetLists::Parts)

}  // namespace tallowby
