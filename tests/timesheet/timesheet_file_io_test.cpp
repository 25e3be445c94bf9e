#include "timesheet/timesheet_file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/settings_store.h"
#include "tests/support/timesheet_records.h"
#include "timesheet/recent_timesheets.h"
#include "timesheet/timesheet_store.h"

namespace tallowby {
namespace {

class TimesheetFileIoTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    const QDate today{2021, 9, 2};

    QString fileWith(const QByteArray& bytes, const QString& name = "week.ini") {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // The message read() gives for the file, or empty when it reads.
    QString refusalOf(const QString& path) {
        try {
            timesheet_file_io::read(path, today);
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    }

    static TimesheetRecord awkwardWeek() {
        return testing::timesheetRecord(
            {"ACME, Inc; \"quoted\"", "  Birchwood st  ", "French Leek\tIN", "(988) 913-5480",
             "Arlen \\ Tovey|Jr.^", "Rolf\nsecond line"},
            QDate(2021, 8, 30),
            {{"Regular", "12.50"}, {"Over|time", "18,75"}, {"Night ^ shift", ""}},
            {{"Monday, August 30, 2021", "Regular", "08:00", "0", "0"},
             {"Tuesday, August 31, 2021", "Over|time", "01:30", "1", "1"},
             {"", "", "02:00", "-1", "-1"}});
    }
};

void expectSame(const TimesheetRecord& a, const TimesheetRecord& b) {
    EXPECT_EQ(a.company, b.company);
    EXPECT_EQ(a.address, b.address);
    EXPECT_EQ(a.city, b.city);
    EXPECT_EQ(a.phone, b.phone);
    EXPECT_EQ(a.employee, b.employee);
    EXPECT_EQ(a.supervisor, b.supervisor);
    EXPECT_EQ(a.weekStart, b.weekStart);
    ASSERT_EQ(a.rates.size(), b.rates.size());
    for (size_t i = 0; i < a.rates.size(); ++i) {
        EXPECT_EQ(a.rates[i].description, b.rates[i].description);
        EXPECT_EQ(a.rates[i].rate, b.rates[i].rate);
    }
    ASSERT_EQ(a.hours.size(), b.hours.size());
    for (size_t i = 0; i < a.hours.size(); ++i) {
        EXPECT_EQ(a.hours[i].day, b.hours[i].day);
        EXPECT_EQ(a.hours[i].rateType, b.hours[i].rateType);
        EXPECT_EQ(a.hours[i].hours, b.hours[i].hours);
        EXPECT_EQ(a.hours[i].dayIndex, b.hours[i].dayIndex);
        EXPECT_EQ(a.hours[i].rateIndex, b.hours[i].rateIndex);
    }
}

TEST_F(TimesheetFileIoTest, WrittenFilesReadBackFieldForFieldAndAsTheStoreReadsThem) {
    const TimesheetRecord week = awkwardWeek();
    const QString path = dir.filePath("week.ini");
    timesheet_file_io::write(path, week);
    expectSame(timesheet_file_io::read(path, today), week);
    // The command line reads the same file as a settings store.
    SettingsStore asStore(path);
    expectSame(TimesheetStore(asStore).load(today), week);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // it holds pay rates
    EXPECT_TRUE(timesheet_file_io::text(week).startsWith("[Tallowby]\n"));
}

TEST_F(TimesheetFileIoTest, AStoreFileOpensAsATimesheetAndItsOtherKeysAreLeftOut) {
    const QString path = fileWith(
        "; a comment\n[Other]\ntxtEmp=Not me\n[Tallowby]\ntxtEmp=Ana\nTabSel=1\nRates=\n"
        "Hours=Monday^Regular^08:00^0^0\nNoHomePage=1\n");
    const TimesheetRecord r = timesheet_file_io::read(path, today);
    EXPECT_EQ(r.employee, "Ana");
    EXPECT_EQ(r.weekStart, today);  // absent: today, as the store has it
    ASSERT_EQ(r.rates.size(), 7u);  // blank: the default rates
    EXPECT_EQ(r.rates[0].description, "Regular");
    ASSERT_EQ(r.hours.size(), 1u);
}

TEST_F(TimesheetFileIoTest, BadFilesAreRefusedWithTheirReason) {
    struct Case {
        QByteArray bytes;
        const char* reason;
    };
    QString many = "Rates=";
    for (int i = 0; i < 255; ++i) many += QStringLiteral("r%1^1|").arg(i);
    const Case cases[] = {
        {"just some words\n", "line 1 is not an INI line"},
        {QByteArray("[Tallowby]\ntxtEmp=A\0B\n", 20), "NUL bytes"},
        {"\xff\xfe[\0T\0", "UTF-16"},
        {"[Other]\ntxtEmp=Ana\n", "no [Tallowby] section"},
        {"", "no [Tallowby] section"},
        {"[Tallowby]\ndtpDate=next tuesday\n", "week start \"next tuesday\" is not a date"},
        {"[Tallowby]\nRates=Regular^10^surplus\n", "hour rates are damaged (rate 1 has 3"},
        {"[Tallowby]\nHours=Mon^Regular^08:00^0^0^6\n", "hours list is damaged (entry 1)"},
        {"[Tallowby]\nHours=Mon^Regular^08:00^7^0\n", "hours list is damaged (entry 1)"},
        {"[Tallowby]\nRates=A|B\nHours=Mon^A^08:00^0^0|Tue^C^08:00^1^2\n",
         "hours list is damaged (entry 2)"},
        {"[Tallowby]\n" + many.toUtf8() + "\n", "it has 255 hour rates"},
    };
    for (const Case& c : cases) {
        const QString refusal = refusalOf(fileWith(c.bytes));
        EXPECT_TRUE(refusal.contains(QString::fromUtf8(c.reason))) << refusal.toStdString();
        EXPECT_TRUE(refusal.startsWith(dir.filePath("week.ini"))) << refusal.toStdString();
    }
}

TEST_F(TimesheetFileIoTest, ExactlyTheMostRatesASheetHoldsAreAccepted) {
    QString rates = "Rates=";
    for (int i = 0; i < 254; ++i) rates += QStringLiteral("r%1^1|").arg(i);
    EXPECT_EQ(refusalOf(fileWith("[Tallowby]\n" + rates.toUtf8() + "\n")), QString());
}

TEST_F(TimesheetFileIoTest, OnlyRegularFilesAreReadOrWritten) {
    EXPECT_TRUE(refusalOf(dir.path()).contains("it is a folder"));
    EXPECT_TRUE(refusalOf(dir.filePath("missing.ini")).contains("No such file"));
    const QString fifo = dir.filePath("pipe.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(refusalOf(fifo).contains("FIFO"));  // and it did not wait for a writer
    EXPECT_THROW(timesheet_file_io::write(fifo, awkwardWeek()), std::exception);
    EXPECT_THROW(timesheet_file_io::write(dir.path(), awkwardWeek()), std::exception);
}

TEST_F(TimesheetFileIoTest, TheSuggestedNameIsTheEmployeeAndWeekMadeSafe) {
    TimesheetRecord r = awkwardWeek();
    r.employee = "Ana/Bo: Example";
    EXPECT_EQ(timesheet_file_io::suggestedName(r), "Timesheet Ana-Bo- Example 2021-08-30.ini");
    r.employee.clear();
    EXPECT_EQ(timesheet_file_io::suggestedName(r), "Timesheet 2021-08-30.ini");
}

TEST(RecentTimesheets, NewestFirstWithoutRepeatsAndAtMostEight) {
    using recent_timesheets::withFirst;
    QStringList list;
    for (int i = 0; i < 10; ++i) list = withFirst(list, QStringLiteral("/w/%1.ini").arg(i));
    EXPECT_EQ(list.size(), recent_timesheets::kMost);
    EXPECT_EQ(list.first(), "/w/9.ini");
    EXPECT_EQ(list.last(), "/w/2.ini");
    // Opening one again moves it to the top; a name with ".." is the same file.
    list = withFirst(list, "/w/sub/../5.ini");
    EXPECT_EQ(list.first(), "/w/5.ini");
    EXPECT_EQ(list.count("/w/5.ini"), 1);
    EXPECT_EQ(list.size(), recent_timesheets::kMost);
    EXPECT_EQ(list[1], "/w/9.ini");
    // Relative names are made absolute.
    EXPECT_TRUE(QDir::isAbsolutePath(withFirst({}, "week.ini").first()));
}

TEST(RecentTimesheets, StoredTextKeepsEveryCharacterOfAPath) {
    const QStringList paths{"/w/a|b^c\\d.ini", "/w/plain.ini"};
    EXPECT_EQ(recent_timesheets::fromStoredText(recent_timesheets::toStoredText(paths)), paths);
    EXPECT_EQ(recent_timesheets::fromStoredText(""), QStringList{});
}

}  // namespace
}  // namespace tallowby
