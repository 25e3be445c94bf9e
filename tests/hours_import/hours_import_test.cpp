// Columns found by their headers, rows turned into hours entries of a week,
// and the one message about the rows left out.
#include "timesheet/import/hours_import.h"

#include <gtest/gtest.h>

#include <QBuffer>

namespace {

using namespace tallowby;
namespace columns = tallowby::tracker_columns;

TrackerFile readText(const QByteArray& text, const columns::Chosen& chosen = {},
                     const QLocale& locale = QLocale::c()) {
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readTrackerFile(buffer, {chosen, std::nullopt, locale});
}

std::vector<RateEntry> rates() {
    return {{"Regular", "10"}, {"Overtime", "15"}, {"Vacation", "10"}};
}

ImportTarget week(QDate start = QDate(2027, 1, 4)) {
    return {start, rates(), {}, std::nullopt, QLocale::c()};
}

TEST(TrackerColumnsTest, FiveHeaderSetsFindTheirColumns) {
    struct Case {
        QStringList header;
        columns::Columns expected;
    };
    const Case cases[] = {
        {{"Date", "Duration", "Activity"}, {0, 1, -1, -1, 2}},
        {{"Project", "Task", "Start date", "Start time", "End date", "End time", "Duration",
          "Tags"},
         {2, 6, 3, 5, 1}},
        {{"day", "FROM", "to", "Type"}, {0, -1, 1, 2, 3}},
        {{"Start Date", "Duration (h)", "Project"}, {0, 1, -1, -1, 2}},
        {{" Hours ", "Duration ( decimal )", "DATE", "tags"}, {2, 1, -1, -1, 3}},
    };
    for (const Case& c : cases) {
        const columns::Found found = columns::find(c.header, {});
        EXPECT_TRUE(found.error.isEmpty()) << found.error.toStdString();
        EXPECT_EQ(found.columns.date, c.expected.date) << c.header.join(',').toStdString();
        EXPECT_EQ(found.columns.duration, c.expected.duration) << c.header.join(',').toStdString();
        EXPECT_EQ(found.columns.start, c.expected.start);
        EXPECT_EQ(found.columns.end, c.expected.end);
        EXPECT_EQ(found.columns.type, c.expected.type) << c.header.join(',').toStdString();
    }
}

TEST(TrackerColumnsTest, ChosenNamesWinAndMissingKindsNameTheHeadersLookedFor) {
    const QStringList header{"When", "Spent", "Kind", "Activity"};
    const columns::Found chosen = columns::find(header, {"when", "SPENT", {}, {}, "Kind"});
    EXPECT_TRUE(chosen.error.isEmpty());
    EXPECT_EQ(chosen.columns.date, 0);
    EXPECT_EQ(chosen.columns.duration, 1);
    EXPECT_EQ(chosen.columns.type, 2);

    const columns::Found missing = columns::find(header, {});
    EXPECT_TRUE(
        missing.error.contains("no date column (looked for \"Date\", \"Start date\", \"Day\")"))
        << missing.error.toStdString();
    EXPECT_TRUE(missing.error.contains("no hours column"));
    EXPECT_TRUE(missing.error.contains("\"Duration (decimal)\""));
    EXPECT_FALSE(missing.error.contains("no type column"));

    const columns::Found wrong = columns::find(header, {"Datum", {}, {}, {}, {}});
    EXPECT_EQ(wrong.error, "no column \"Datum\" for the date");
    // Start without end is no hours column.
    EXPECT_TRUE(columns::find({"Date", "From", "Type"}, {}).error.contains("no hours column"));
}

TEST(HoursImportTest, RowsBecomeEntriesOfTheWeekWithTheirDayAndRate) {
    const TrackerFile file = readText(
        "Date,Duration,Activity\n"
        "2027-01-04,1:30,Regular\n"
        "2027-01-10,2:00, overtime \n"
        "2027-01-05,0:45,REGULAR\n");
    ASSERT_TRUE(file.error.isEmpty()) << file.error.toStdString();
    const HoursImport imported = importHours(file, week());
    ASSERT_EQ(imported.entries.size(), 3u);
    const HoursEntry& first = imported.entries[0];
    EXPECT_EQ(first.day, "Monday, January 4, 2027");
    EXPECT_EQ(first.rateType, "Regular");
    EXPECT_EQ(first.hours, "01:30");
    EXPECT_EQ(first.dayIndex, "0");
    EXPECT_EQ(first.rateIndex, "0");
    EXPECT_EQ(imported.entries[1].dayIndex, "6");
    EXPECT_EQ(imported.entries[1].rateType, "Overtime");
    EXPECT_EQ(imported.entries[1].rateIndex, "1");
    EXPECT_EQ(imported.entries[2].dayIndex, "1");
    EXPECT_EQ(imported.leftOutCount(), 0);
    EXPECT_TRUE(leftOutMessage(imported, QDate(2027, 1, 4), QLocale::c()).isEmpty());
}

TEST(HoursImportTest, StartAndEndTimesGiveTheHoursWhenNoDurationIsWritten) {
    const TrackerFile file = readText(
        "Day;From;To;Duration;Type\n"
        "04.01.2027;09:00;12:30;;Regular\n"
        "05.01.2027;22:00;01:15;;Regular\n"
        "06.01.2027;09:00;10:00;2:00;Regular\n");
    const HoursImport imported = importHours(file, week());
    ASSERT_EQ(imported.entries.size(), 3u);
    EXPECT_EQ(imported.entries[0].hours, "03:30");
    EXPECT_EQ(imported.entries[1].hours, "03:15");  // past midnight
    EXPECT_EQ(imported.entries[1].dayIndex, "1");   // counted on the day it started
    EXPECT_EQ(imported.entries[2].hours, "02:00");  // the duration written wins
}

TEST(HoursImportTest, TheFileSettlesTheOrderOfSlashedDatesElseTheLocaleDoes) {
    const QByteArray ambiguous = "Date,Hours,Type\n1/5/2027,1,Regular\n";
    EXPECT_EQ(
        readText(ambiguous, {}, QLocale(QLocale::English, QLocale::UnitedStates)).rows[0].date,
        QDate(2027, 1, 5));
    EXPECT_EQ(
        readText(ambiguous, {}, QLocale(QLocale::English, QLocale::UnitedKingdom)).rows[0].date,
        QDate(2027, 5, 1));
    // A first number above 12, even on a later line, makes every row day first.
    const TrackerFile dayFirst =
        readText("Date,Hours,Type\n05/01/2027,1,Regular\n13/01/2027,1,Regular\n", {},
                 QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(dayFirst.slashedDayFirst);
    EXPECT_EQ(dayFirst.rows[0].date, QDate(2027, 1, 5));
    // Rows stay in file order when slashed dates wait among others.
    const TrackerFile mixed = readText(
        "Date,Hours,Type\n1/5/2027,1,Regular\n2027-01-06,2,Regular\n"
        "1/7/2027,3,Regular\n1/13/2027,4,Regular\n1/8/2027,5,Regular\n",
        {}, QLocale(QLocale::English, QLocale::UnitedKingdom));
    ASSERT_EQ(mixed.rows.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(mixed.rows[static_cast<std::size_t>(i)].line, i + 2);
        EXPECT_EQ(mixed.rows[static_cast<std::size_t>(i)].minutes, (i + 1) * 60);
    }
    EXPECT_EQ(mixed.rows[4].date, QDate(2027, 1, 8));
    const TrackerFile monthFirst =
        readText("Date,Hours,Type\n01/05/2027,1,Regular\n01/13/2027,1,Regular\n", {},
                 QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_FALSE(monthFirst.slashedDayFirst);
    EXPECT_EQ(monthFirst.rows[0].date, QDate(2027, 1, 5));
}

TEST(HoursImportTest, DecimalCommasFollowTheLocale) {
    const QByteArray text = "Date;Duration (h);Tags\n2027-01-04;1,5;Regular\n";
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(importHours(readText(text, {}, german), week()).entries.at(0).hours, "01:30");
    EXPECT_EQ(readText(text).unreadable.size(), 1u);
}

TEST(HoursImportTest, LeftOutRowsAreCountedByKindWithTheirLines) {
    const TrackerFile file = readText(
        "Date,Hours,Type,Note\n"
        "2027-01-04,1,Regular,\n"        // 2 imported
        "2027-01-11,1,Regular,\n"        // 3 next week
        "2027-01-03,1,Regular,\n"        // 4 the day before
        "2027-01-05,1,Meetings,\n"       // 5 unknown type
        "2027-01-05,1,meetings ,\n"      // 6 the same type
        "2027-01-06,1,,\n"               // 7 no type
        "soon,1,Regular,\n"              // 8 no date
        "2027-01-06,lots,Regular,\n"     // 9 no hours
        "2027-01-06,1\n"                 // 10 too few fields
        "2027-01-06,1,Regular,,extra\n"  // 11 too many
        "2027-01-06,1,Regular,,\n"       // 12 an empty extra is fine
        ",,,\n"                          // blank, not counted
        "31.02.2027,1,Regular,\n");      // 14 no such day
    ASSERT_TRUE(file.error.isEmpty());
    EXPECT_EQ(file.dataRows, 12);
    const HoursImport imported = importHours(file, week());
    EXPECT_EQ(imported.entries.size(), 2u);
    EXPECT_EQ(imported.outsideWeek, (std::vector<qint64>{3, 4}));
    EXPECT_EQ(imported.unknownType, (std::vector<qint64>{5, 6, 7}));
    EXPECT_EQ(imported.unknownTypes, (QStringList{"Meetings", ""}));
    ASSERT_EQ(imported.unreadable.size(), 5u);
    EXPECT_EQ(imported.unreadable[0].line, 8);
    EXPECT_EQ(imported.unreadable[0].reason, "\"soon\" is no date");
    EXPECT_EQ(imported.unreadable[1].reason, "\"lots\" are no hours");
    EXPECT_EQ(imported.unreadable[2].reason, "2 fields where the header has 4");
    EXPECT_EQ(imported.unreadable[3].reason, "5 fields where the header has 4");
    EXPECT_EQ(imported.unreadable[4].line, 14);
    EXPECT_EQ(imported.unreadable[4].reason, "no such day");
    EXPECT_EQ(leftOutMessage(imported, QDate(2027, 1, 4), QLocale::c(), 2).toStdString(),
              "10 of 12 rows were not imported: 2 outside the week of 4 Jan 2027 (lines 3, 4); "
              "3 of a type no hour rate is named after: \"Meetings\", \"\" (lines 5, 6, …); "
              "5 that cannot be read (lines 8, 9, …; line 8: \"soon\" is no date).");
}

TEST(HoursImportTest, UnknownTypesGoWhereTheMappingOrTheFallbackSays) {
    const TrackerFile file = readText(
        "Date,Hours,Type\n2027-01-04,1,Meetings\n2027-01-04,2,Travel\n"
        "2027-01-04,3,Regular\n");
    ImportTarget mapped = week();
    mapped.mapping[typeKey(" MEETINGS")] = 2;
    const HoursImport partly = importHours(file, mapped);
    ASSERT_EQ(partly.entries.size(), 2u);
    EXPECT_EQ(partly.entries[0].rateType, "Vacation");
    EXPECT_EQ(partly.unknownTypes, QStringList{"Travel"});
    mapped.unknownTypeRate = 1;
    const HoursImport all = importHours(file, mapped);
    ASSERT_EQ(all.entries.size(), 3u);
    EXPECT_EQ(all.entries[0].rateIndex, "2");  // the mapping before the fallback
    EXPECT_EQ(all.entries[1].rateIndex, "1");
    EXPECT_EQ(all.entries[2].rateIndex, "0");  // a rate's own name before both
    // A mapping to a rate the list no longer has maps nothing.
    mapped.mapping[typeKey("Travel")] = 7;
    mapped.unknownTypeRate.reset();
    EXPECT_EQ(importHours(file, mapped).unknownType, std::vector<qint64>{3});
}

TEST(HoursImportTest, TheBusiestWeekStartsOnTheSameWeekday) {
    const TrackerFile file = readText(
        "Date,Hours,Type\n2027-01-01,1,Regular\n2027-01-12,1,Regular\n"
        "2027-01-13,1,Regular\n2027-01-17,1,Regular\n");
    // Monday weeks: 11-17 January holds three rows.
    EXPECT_EQ(busiestWeekStart(file, QDate(2027, 1, 4)), QDate(2027, 1, 11));
    // Wednesday weeks: 13-19 January holds two.
    EXPECT_EQ(busiestWeekStart(file, QDate(2026, 12, 30)), QDate(2027, 1, 13));
    // Equals go to the earliest: 4-10 and 11-17 January hold one row each.
    const TrackerFile even =
        readText("Date,Hours,Type\n2027-01-12,1,Regular\n2027-01-05,1,Regular\n");
    EXPECT_EQ(busiestWeekStart(even, QDate(2027, 1, 4)), QDate(2027, 1, 4));
    EXPECT_FALSE(busiestWeekStart(TrackerFile{}, QDate(2027, 1, 4)));
}

TEST(HoursImportTest, FilesThatCannotBeImportedSayWhy) {
    EXPECT_EQ(readText("").error, "the file is empty");
    EXPECT_EQ(readText("Date,Duration,Activity\r\n").error,
              "it holds a header row and no hours below it");
    EXPECT_TRUE(readText("Name,Amount\nx,1\n").error.startsWith("no date column"));
    EXPECT_TRUE(readText("Date,Hours,Type\n2027-01-04,\"1\n").error.contains("line 2: the quote"));
    QByteArray badHeader = "Da\xFFte,Hours,Type\n2027-01-04,1,Regular\n";
    EXPECT_EQ(readText(badHeader).error, "line 1: the header row is not valid UTF-8");
    EXPECT_EQ(readTrackerFile(QStringLiteral("/nonexistent/x.csv"), {}).error,
              "No such file or directory");
    EXPECT_EQ(readTrackerFile(QStringLiteral("/tmp"), {}).error, "it is a folder");
}

TEST(HoursImportTest, TheFirstRowsAreKeptShortForShowing) {
    QByteArray text = "Date,Hours,Type,Note\n";
    for (int i = 0; i < 30; ++i)
        text += "2027-01-04,1,Regular," + QByteArray(i == 0 ? 5000 : 3, 'n') + "\n";
    const TrackerFile file = readText(text);
    ASSERT_EQ(file.firstRows.size(), static_cast<std::size_t>(TrackerFile::kFirstRowsKept));
    EXPECT_EQ(file.firstRows[0][3].size(), TrackerFile::kShownFieldLength + 1);
    EXPECT_EQ(file.rows.size(), 30u);
}

}  // namespace
