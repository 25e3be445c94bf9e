// Output names of a batch: safe as file names, unique, the same for every shard.
#include "timesheet/timesheet_file_name.h"

#include <gtest/gtest.h>

#include <QDate>

namespace {

namespace name = tallowby::timesheet_file_name;
const QDate kWeek(2021, 8, 30);

TEST(TimesheetFileNameTest, NamesTheEmployeeAndTheWeekSafely) {
    EXPECT_EQ(name::stem("Ana Example", kWeek), "Timesheet Ana Example 2021-08-30");
    EXPECT_EQ(name::stem("  Ana \t  Example  ", kWeek), "Timesheet Ana Example 2021-08-30");
    EXPECT_EQ(name::stem("", kWeek), "Timesheet 2021-08-30");
    EXPECT_EQ(name::stem("   ", kWeek), "Timesheet 2021-08-30");
    // Separators, NUL, control characters and what Windows refuses.
    EXPECT_EQ(name::stem(QString::fromUtf8("a/b\\c:d*e?f\"g<h>i|j"), kWeek),
              "Timesheet a_b_c_d_e_f_g_h_i_j 2021-08-30");
    EXPECT_EQ(name::stem(QString("x") + QChar(0) + "y\n\rz" + QChar(0x7f), kWeek),
              "Timesheet x_y__z_ 2021-08-30");
    // A name that is only dots cannot make a hidden or special file: the
    // stem always starts with "Timesheet ".
    EXPECT_EQ(name::stem("..", kWeek), "Timesheet .. 2021-08-30");
    EXPECT_EQ(name::stem(QString::fromUtf8("Zoë 李 😀"), kWeek),
              QString::fromUtf8("Timesheet Zoë 李 😀 2021-08-30"));
}

TEST(TimesheetFileNameTest, ALongNameIsCutAtACharactersBoundaryAndKeepsTheDate) {
    for (const QString& unit :
         {QString("a"), QString::fromUtf8("é"), QString::fromUtf8("李"), QString::fromUtf8("😀")}) {
        const QString stem = name::stem(unit.repeated(400), kWeek);
        const QByteArray utf8 = stem.toUtf8();
        EXPECT_LE(utf8.size(), name::kLongestName - name::kSuffixRoom) << unit.toStdString();
        EXPECT_GT(utf8.size(), name::kLongestName - name::kSuffixRoom - 4) << unit.toStdString();
        EXPECT_TRUE(stem.endsWith(" 2021-08-30"));
        // Whole characters only: the UTF-8 form reads back as the same text.
        EXPECT_EQ(QString::fromUtf8(utf8), stem);
        EXPECT_FALSE(stem.contains(QChar::ReplacementCharacter));
        const QString name = stem.section(' ', 1, 1);
        EXPECT_EQ(name, unit.repeated(name.size() / unit.size())) << unit.toStdString();
    }
}

TEST(TimesheetFileNameTest, CollidingStemsGetNumbersInTheOrderGiven) {
    const std::vector<QString> stems{"T Ana", "T Bob", "T Ana", "T ana", "T Ana (2)", "T Ana"};
    // "T Ana (2)" is someone's own name, so the numbered ones pass it by;
    // "T ana" differs only in case, which some file systems do not tell apart.
    EXPECT_EQ(name::unique(stems), (std::vector<QString>{"T Ana", "T Bob", "T Ana (3)", "T ana (4)",
                                                         "T Ana (2)", "T Ana (5)"}));
    // Unique names stay as they are.
    EXPECT_EQ(name::unique({"a", "b", "c"}), (std::vector<QString>{"a", "b", "c"}));
    EXPECT_TRUE(name::unique({}).empty());
}

}  // namespace
