#include "timesheet/timesheet_store.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#include "timesheet/settings_keys.h"

namespace tallowby {
namespace {

class TimesheetStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    QTemporaryDir dir;
    SettingsStore settings{dir.filePath("Marrowick/Marrowick.ini")};
    TimesheetStore store{settings};
    const QDate today{2021, 9, 2};
};

TEST_F(TimesheetStoreTest, EveryGeneralFieldComesFromItsOwnKey) {
    settings.setValue("txtName", "ACME, Inc");
    settings.setValue("txtLocation", "Birchwood st");
    settings.setValue("txtCity", "French Leek, IN");
    settings.setValue("txtPhone", "(988) 913-5480");
    settings.setValue("txtEmp", "Arlen Tovey Jr.");
    settings.setValue("txtSVisor", "Rolf");
    settings.setValue("dtpDate", "2021-08-30");
    QStringList notices;
    const TimesheetRecord r = store.load(today, &notices);
    EXPECT_EQ(r.company, "ACME, Inc");
    EXPECT_EQ(r.address, "Birchwood st");
    EXPECT_EQ(r.city, "French Leek, IN");
    EXPECT_EQ(r.phone, "(988) 913-5480");
    EXPECT_EQ(r.employee, "Arlen Tovey Jr.");
    EXPECT_EQ(r.supervisor, "Rolf");
    EXPECT_EQ(r.weekStart, QDate(2021, 8, 30));
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_EQ(store.field(settings_keys::kCity), "French Leek, IN");
}

TEST_F(TimesheetStoreTest, AnEmptyStoreGivesBlankFieldsTodayAndTheSevenDefaultRates) {
    const TimesheetRecord r = store.load(today);
    EXPECT_TRUE(r.company.isEmpty());
    EXPECT_TRUE(r.supervisor.isEmpty());
    EXPECT_EQ(r.weekStart, today);
    ASSERT_EQ(r.rates.size(), 7u);
    const QStringList names{"Regular", "Overtime", "Illness", "Vacation",
                            "Holiday", "Unpaid",   "Other"};
    for (size_t i = 0; i < r.rates.size(); ++i) {
        EXPECT_EQ(r.rates[i].description, names[static_cast<qsizetype>(i)]);
        EXPECT_TRUE(r.rates[i].rate.isEmpty());
    }
    EXPECT_TRUE(r.hours.empty());
    EXPECT_EQ(store.listTab(), "0");
}

TEST_F(TimesheetStoreTest, OnlySpacesAreBlankRatesTabsAndLineBreaksAreContent) {
    settings.setValue("Rates", "   ");
    EXPECT_FALSE(store.storedRates().has_value());
    EXPECT_EQ(store.load(today).rates.size(), 7u);

    settings.setValue("Rates", "\t");
    ASSERT_TRUE(store.storedRates().has_value());
    const TimesheetRecord r = store.load(today);
    ASSERT_EQ(r.rates.size(), 1u);
    EXPECT_EQ(r.rates[0].description, "\t");
    EXPECT_TRUE(r.rates[0].rate.isEmpty());
}

TEST_F(TimesheetStoreTest, SurplusFieldsAreLeftOutAndMissingOnesAreBlank) {
    settings.setValue("Rates", "Regular^11.50^surplus|Overtime");
    settings.setValue("Hours", "Monday^Regular^02:00^0^0^surplus|Tuesday^Regular");
    const TimesheetRecord r = store.load(today);
    ASSERT_EQ(r.rates.size(), 2u);
    EXPECT_EQ(r.rates[0].description, "Regular");
    EXPECT_EQ(r.rates[0].rate, "11.50");
    EXPECT_EQ(r.rates[1].description, "Overtime");
    EXPECT_TRUE(r.rates[1].rate.isEmpty());
    ASSERT_EQ(r.hours.size(), 2u);
    EXPECT_EQ(r.hours[0].rateIndex, "0");
    EXPECT_EQ(r.hours[1].rateType, "Regular");
    EXPECT_TRUE(r.hours[1].hours.isEmpty());
    EXPECT_TRUE(r.hours[1].rateIndex.isEmpty());
    // The stored rows themselves keep every field, for a list to judge.
    EXPECT_EQ(store.storedRates()->at(0).size(), 3);
}

TEST_F(TimesheetStoreTest, TextThatIsNoDateGivesTodayOneNoticeAndStaysStored) {
    settings.setValue("dtpDate", "1900-02-29");
    QStringList notices;
    const TimesheetRecord r = store.load(today, &notices);
    EXPECT_EQ(r.weekStart, today);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains("\"1900-02-29\" is not a date")) << notices[0].toStdString();
    EXPECT_EQ(settings.value("dtpDate"), "1900-02-29");
    const TimesheetStore::WeekStart week = store.weekStart(today);
    EXPECT_TRUE(week.unreadable);
    EXPECT_FALSE(week.date.has_value());
    EXPECT_EQ(week.storedText, "1900-02-29");
}

TEST_F(TimesheetStoreTest, AnAbsentDateIsTodayWithoutANotice) {
    QStringList notices;
    EXPECT_EQ(store.load(QDate(2030, 1, 7), &notices).weekStart, QDate(2030, 1, 7));
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_FALSE(store.weekStart(today).unreadable);
}

TEST_F(TimesheetStoreTest, WhatIsSavedIsStoredUnderTheOldKeysAndLoadsBack) {
    store.saveField(settings_keys::kCompany, "ACME");
    store.saveWeekStart(QDate(2021, 8, 30));
    store.saveRates({{"Regular", "11.50"}, {"Over|time", "12.70"}});
    store.saveHours({{"Monday, August 30, 2021", "Regular", "02:00", "0", "0"}});
    store.saveListTab(1);
    SettingsStore reread(settings.path());
    EXPECT_EQ(reread.value("txtName"), "ACME");
    EXPECT_EQ(reread.value("dtpDate"), "2021-08-30");
    EXPECT_EQ(reread.value("Rates"), "Regular^11.50|Over\\|time^12.70");
    EXPECT_EQ(reread.value("Hours"), "Monday, August 30, 2021^Regular^02:00^0^0");
    EXPECT_EQ(reread.value("TabSel"), "1");
    const TimesheetRecord r = TimesheetStore(reread).load(today);
    EXPECT_EQ(r.company, "ACME");
    EXPECT_EQ(r.weekStart, QDate(2021, 8, 30));
    ASSERT_EQ(r.rates.size(), 2u);
    EXPECT_EQ(r.rates[1].description, "Over|time");
    ASSERT_EQ(r.hours.size(), 1u);
    EXPECT_EQ(r.hours[0].hours, "02:00");
}

TEST(TimesheetStoreValueNames, StoredValuesAreNamedInWords) {
    EXPECT_EQ(TimesheetStore::valueName("txtName"), "the company name");
    EXPECT_EQ(TimesheetStore::valueName("Hours"), "the hours list");
    EXPECT_EQ(TimesheetStore::valueName("dtpDate"), "the week start");
    EXPECT_EQ(TimesheetStore::valueName("Unknown"), "Unknown");
}

}  // namespace
}  // namespace tallowby
