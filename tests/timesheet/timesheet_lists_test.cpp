#include "timesheet/timesheet_lists.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace tallowby;

namespace {

class TimesheetListsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TimesheetRecord r;
        r.company = "Marrowick Joinery Ltd";
        r.weekStart = QDate(2021, 8, 30);  // a Monday
        r.rates = {{"Regular", "10"}, {"Overtime", "15"}, {"Illness", "5"}, {"Other", "1"}};
        lists.load(r);
        QObject::connect(&lists, &TimesheetLists::changed,
                         [this](TimesheetLists::Parts parts) { seen.push_back(parts); });
    }

    void add(int day, int rate, int minutes) {
        lists.addHours({lists.makeEntry(day, rate, minutes)});
    }

    QStringList column(QString HoursEntry::*field) const {
        QStringList texts;
        for (const HoursEntry& e : lists.hours()) texts << e.*field;
        return texts;
    }

    TimesheetLists lists;
    std::vector<TimesheetLists::Parts> seen;
};

}  // namespace

TEST_F(TimesheetListsTest, EntriesAreMadeInTheStoredForm) {
    const HoursEntry e = lists.makeEntry(2, 1, 450);
    EXPECT_EQ(e.day, "Wednesday, September 1, 2021");
    EXPECT_EQ(e.rateType, "Overtime");
    EXPECT_EQ(e.hours, "07:30");
    EXPECT_EQ(e.dayIndex, "2");
    EXPECT_EQ(e.rateIndex, "1");
}

TEST_F(TimesheetListsTest, RemovingARateInTheMiddleKeepsLaterEntriesOnTheirType) {
    add(0, 0, 60);
    add(1, 1, 120);
    add(2, 2, 180);
    add(3, 3, 240);
    add(4, 1, 30);
    EXPECT_EQ(lists.entriesOfRate(1), 2);
    lists.removeRate(1);
    ASSERT_EQ(lists.rates().size(), 3u);
    EXPECT_EQ(lists.rates()[1].description, "Illness");
    EXPECT_EQ(column(&HoursEntry::rateIndex), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(column(&HoursEntry::rateType), (QStringList{"Regular", "Illness", "Other"}));
    EXPECT_EQ(column(&HoursEntry::hours), (QStringList{"01:00", "03:00", "04:00"}));
    lists.undoStack().undo();
    EXPECT_EQ(lists.rates().size(), 4u);
    EXPECT_EQ(column(&HoursEntry::rateIndex), (QStringList{"0", "1", "2", "3", "1"}));
}

TEST_F(TimesheetListsTest, EditingARateRelabelsItsEntriesOnly) {
    add(0, 1, 60);
    add(0, 2, 60);
    lists.editRate(1, {"Late shift", "17.25"});
    EXPECT_EQ(lists.rates()[1].rate, "17.25");
    EXPECT_EQ(column(&HoursEntry::rateType), (QStringList{"Late shift", "Illness"}));
    lists.addRate({"Night", "20"});
    EXPECT_EQ(lists.rates().back().description, "Night");
    EXPECT_EQ(lists.rates().size(), 5u);
}

TEST_F(TimesheetListsTest, AGridCellReplacesItsEntriesInPlace) {
    add(0, 0, 60);
    add(1, 0, 120);  // the cell
    add(2, 0, 30);
    add(1, 0, 45);  // the cell again
    lists.setCell(1, 0, 500);
    EXPECT_EQ(column(&HoursEntry::hours), (QStringList{"01:00", "08:20", "00:30"}));
    EXPECT_EQ(column(&HoursEntry::dayIndex), (QStringList{"0", "1", "2"}));
    lists.setCell(1, 0, 0);
    EXPECT_EQ(column(&HoursEntry::dayIndex), (QStringList{"0", "2"}));
    lists.setCell(6, 3, 90);  // an empty cell gets an entry at the end
    EXPECT_EQ(lists.hours().back().day, "Sunday, September 5, 2021");
    EXPECT_EQ(lists.hours().back().rateType, "Other");
    const auto steps = lists.undoStack().count();
    lists.setCell(5, 3, std::nullopt);  // empty and left empty: no step
    lists.setCell(7, 0, 60);            // no such day
    lists.setCell(0, 4, 60);            // no such type
    EXPECT_EQ(lists.undoStack().count(), steps);
}

TEST_F(TimesheetListsTest, SeveralEntriesDeletedAsOneStep) {
    for (int d = 0; d < 5; ++d) add(d, 0, 60 * (d + 1));
    lists.deleteHours({3, 0, 3, 9});
    EXPECT_EQ(column(&HoursEntry::hours), (QStringList{"02:00", "03:00", "05:00"}));
    lists.undoStack().undo();
    EXPECT_EQ(lists.hours().size(), 5u);
    lists.undoStack().redo();
    EXPECT_EQ(lists.hours().size(), 3u);
    lists.updateHours(1, lists.makeEntry(6, 2, 15));
    EXPECT_EQ(lists.hours()[1].rateType, "Illness");
}

TEST_F(TimesheetListsTest, NewWeekStartsEmptyOrCopiesToTheSameWeekdays) {
    add(0, 0, 480);
    add(4, 1, 120);
    lists.newWeek(true);
    EXPECT_EQ(lists.record().weekStart, QDate(2021, 9, 6));
    EXPECT_EQ(column(&HoursEntry::day),
              (QStringList{"Monday, September 6, 2021", "Friday, September 10, 2021"}));
    EXPECT_EQ(column(&HoursEntry::hours), (QStringList{"08:00", "02:00"}));
    lists.newWeek(false);
    EXPECT_EQ(lists.record().weekStart, QDate(2021, 9, 13));
    EXPECT_TRUE(lists.hours().empty());
    EXPECT_EQ(lists.rates().size(), 4u);
    EXPECT_EQ(lists.record().company, "Marrowick Joinery Ltd");
    lists.undoStack().undo();
    lists.undoStack().undo();
    EXPECT_EQ(lists.record().weekStart, QDate(2021, 8, 30));
    EXPECT_EQ(lists.hours()[1].day, "Friday, September 3, 2021");
}

TEST_F(TimesheetListsTest, UndoKeepsTheWeekStartTypedSince) {
    add(2, 0, 60);
    lists.setWeekStart(QDate(2021, 9, 20));
    EXPECT_EQ(lists.hours()[0].day, "Wednesday, September 22, 2021");
    lists.undoStack().undo();  // the add
    lists.undoStack().redo();
    EXPECT_EQ(lists.record().weekStart, QDate(2021, 9, 20));
    EXPECT_EQ(lists.hours()[0].day, "Wednesday, September 22, 2021");
}

TEST_F(TimesheetListsTest, ReplacingEverythingIsUndoneWithTheFields) {
    TimesheetRecord sample = lists.record();
    sample.company = "ACME Inc";
    sample.weekStart = QDate(2021, 8, 2);
    sample.rates.push_back({"Regular", "11.50"});
    lists.replaceAll(lists.record(), sample, "Load Sample Data");
    EXPECT_EQ(lists.record().company, "ACME Inc");
    lists.undoStack().undo();
    EXPECT_EQ(lists.record().company, "Marrowick Joinery Ltd");
    EXPECT_EQ(lists.record().weekStart, QDate(2021, 8, 30));
    EXPECT_EQ(lists.rates().size(), 4u);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1],
              TimesheetLists::Lists | TimesheetLists::WeekStart | TimesheetLists::GeneralFields);
}

TEST_F(TimesheetListsTest, EveryStepSaysTheListsChanged) {
    add(0, 0, 60);
    lists.updateHours(0, lists.makeEntry(1, 0, 60));
    lists.deleteHours({0});
    lists.setCell(0, 0, 60);
    lists.addRate({"Night", "20"});
    lists.editRate(4, {"Night", "21"});
    lists.removeRate(4);
    lists.newWeek(false);
    lists.undoStack().undo();
    lists.undoStack().redo();
    ASSERT_EQ(seen.size(), 10u);
    for (TimesheetLists::Parts parts : seen) EXPECT_TRUE(parts & TimesheetLists::Lists);
    lists.updateHours(5, {});  // no such row: nothing
    lists.removeRate(-1);
    EXPECT_EQ(seen.size(), 10u);
}
