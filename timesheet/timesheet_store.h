#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "app/settings_store.h"
#include "timesheet/timesheet_record.h"

namespace tallowby {

// The timesheet as it lives in the settings store, read and written with one
// set of rules for the entry window and the command line:
// - a field is its stored text, empty when absent;
// - the week start is the stored date, else `today` (passed in, never read
//   from the clock here); text that is there but no date is the user's: it
//   is left stored and named in a notice;
// - "Rates" that is empty or only spaces (tabs and line breaks are content)
//   gives the seven default rate descriptions;
// - a stored list row keeps as many fields as its list has columns (two for
//   rates, five for hours); further fields are surplus and left out.
class TimesheetStore {
  public:
    explicit TimesheetStore(SettingsStore& settings) : settings_(settings) {}

    static constexpr int kRateFields = 2;
    static constexpr int kHoursFields = 5;

    // One of the general fields (a key of timesheet/settings_keys.h).
    QString field(const char* key) const;
    void saveField(const char* key, const QString& text);

    struct WeekStart {
        std::optional<QDate> date;  // nothing when the stored text is no date
        QString storedText;
        bool unreadable = false;  // text that is there but no date: tell the user
    };
    WeekStart weekStart(const QDate& today) const;
    void saveWeekStart(const QDate& date);

    // The stored rows of the hour-rate list, or nothing when "Rates" is blank
    // (the defaults apply). Rows hold every stored field, surplus ones too.
    std::optional<std::vector<QStringList>> storedRates() const;
    std::vector<QStringList> storedHours() const;
    // The same rows one at a time, as they are read from the store.
    void forEachStoredHoursRow(const std::function<void(const QStringList&)>& take) const;
    void saveRates(const std::vector<QStringList>& rows);
    void saveHours(const std::vector<QStringList>& rows);
    // Both lists in one write of the store.
    void saveLists(const std::vector<QStringList>& rates, const std::vector<QStringList>& hours);

    // The list tab's stored text ("0" when absent).
    QString listTab() const;
    void saveListTab(int index);

    // The whole timesheet by the rules above; `notices` receives what the
    // user should be told (an unreadable week start).
    TimesheetRecord load(const QDate& today, QStringList* notices = nullptr) const;

    // A stored value in words, by its key: "txtName" is "the company name".
    static QString valueName(const QString& key);

    // Blanks are spaces; tabs and line breaks are content.
    static bool isBlankText(const QString& text);

  private:
    SettingsStore& settings_;
};

}  // namespace tallowby
