// One rate column per rate type: the run's sheet for lists of 1 to 254 rate
// types, against totals computed here from the entries.
#include <gtest/gtest.h>

#include <QDir>
#include <QLocale>
#include <cmath>

#include "tests/timesheet/run_failures.h"
#include "timesheet/generation_run.h"
#include "workbook/automation/engine_calls.h"
#include "workbook/run/template_resource.h"

namespace tallowby {
namespace {

struct Week {
    TimesheetRecord record;
    std::vector<double> rateOf;  // per rate entry
    std::vector<int> minutesOf;  // per rate entry, summed over its entries
    std::array<int, 7> minutesOnDay{};
};

// One entry per rate type on day i % 7, and the first type once more on the
// first day so a cell holds a sum.
Week week(int rates) {
    Week w;
    w.record.weekStart = QDate(2021, 8, 30);
    for (int i = 0; i < rates; ++i) {
        const double rate = (i % 13) + 0.5;
        w.record.rates.push_back({QStringLiteral("Rate %1").arg(i), QString::number(rate)});
        w.rateOf.push_back(rate);
        const int minutes = 30 + (i * 17) % 300;
        w.record.hours.push_back({"", "",
                                  QStringLiteral("%1:%2")
                                      .arg(minutes / 60, 2, 10, QChar('0'))
                                      .arg(minutes % 60, 2, 10, QChar('0')),
                                  QString::number(i % 7), QString::number(i)});
        w.minutesOf.push_back(minutes);
        w.minutesOnDay[i % 7] += minutes;
    }
    w.record.hours.push_back({"", "", "01:15", "0", "0"});
    w.minutesOf[0] += 75;
    w.minutesOnDay[0] += 75;
    return w;
}

class RateColumns : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    engine::CellValue at(int row, int col) const {
        const engine::Cell* c =
            saved.sheets.at(0).find(static_cast<uint16_t>(row - 1), static_cast<uint16_t>(col - 1));
        return c ? c->value : engine::CellValue{};
    }

    PrivateTempFolder folder;
    engine::Workbook saved;
};

TEST_P(RateColumns, EveryRateHasAColumnAndTheTotalsCountThemAll) {
    const int rates = GetParam();
    const Week w = week(rates);
    const GenerationResult result = runGeneration(w.record, folder, {});
    ASSERT_TRUE(result.handedOver);
    EXPECT_TRUE(result.failures.empty())
        << testing::textsOf(result.failures).join("\n").toStdString();
    EXPECT_TRUE(result.leftOut.empty());
    saved = automation::readWorkbookFile(result.resultPath);

    const int totals = std::max(rates, 7) + 2;  // 1-based column of the totals
    EXPECT_EQ(at(11, totals).text, "TOTAL\nHOURS");
    double hours = 0, pay = 0;
    for (int i = 0; i < rates; ++i) {
        const double h = w.minutesOf[i] / 60.0;
        hours += h;
        pay += h * w.rateOf[i];
        ASSERT_EQ(at(11, i + 2).text, QStringLiteral("Rate %1").arg(i).toStdString());
        EXPECT_NEAR(at(19, i + 2).number, h / 24, 1e-9) << "column " << i + 2;
        EXPECT_NEAR(at(21, i + 2).number, h * w.rateOf[i], 1e-9) << "column " << i + 2;
    }
    for (int d = 0; d < 7; ++d)
        EXPECT_NEAR(at(12 + d, totals).number, w.minutesOnDay[d] / 1440.0, 1e-9) << "day " << d;
    EXPECT_NEAR(at(19, totals).number, hours / 24, 1e-9);
    EXPECT_NEAR(at(21, totals).number, pay, 1e-6);
    EXPECT_NEAR(at(23, 4).number, hours / 24, 1e-9);  // D23
    EXPECT_NEAR(at(24, 4).number, pay, 1e-6);         // D24
    ASSERT_TRUE(saved.sheets[0].printArea);
    EXPECT_EQ(*saved.sheets[0].printArea,
              (engine::CellRange{0, 30, 0, static_cast<uint16_t>(totals - 1)}));
    // Nothing stands right of the totals column.
    EXPECT_EQ(saved.sheets[0].usedRange()->lastCol, totals - 1);
}

INSTANTIATE_TEST_SUITE_P(Counts, RateColumns, ::testing::Values(1, 7, 8, 14, 30, 254));

TEST_F(RateColumns, SevenOrFewerRatesLeaveTheTemplateLayoutAlone) {
    const engine::Workbook original = automation::readWorkbookFile([&] {
        const QString path = QDir(folder.path()).filePath("original.xlt");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(templateBytes());
        return path;
    }());
    const GenerationResult result = runGeneration(week(7).record, folder, {});
    ASSERT_TRUE(result.handedOver);
    saved = automation::readWorkbookFile(result.resultPath);
    const engine::Sheet& s = saved.sheets[0];
    const engine::Sheet& t = original.sheets[0];
    EXPECT_EQ(s.merges, t.merges);
    EXPECT_EQ(s.columns, t.columns);
    EXPECT_EQ(s.printArea, t.printArea);
    for (const auto& [a, c] : t.cells()) {
        ASSERT_NE(s.find(a.row, a.col), nullptr);
        EXPECT_EQ(s.find(a.row, a.col)->formula, c.formula);
        EXPECT_EQ(s.find(a.row, a.col)->xf, c.xf);
    }
}

TEST_F(RateColumns, MoreThan254RatesAreRefusedAndNothingIsMade) {
    const Week w = week(255);
    const GenerationResult result = runGeneration(w.record, folder, {});
    EXPECT_FALSE(result.handedOver);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(testing::linesOf(result.failures), QList<int>{101});
    EXPECT_TRUE(error_report::text(result.failures[0]).contains("at most 254 rate types"));
    EXPECT_TRUE(error_report::text(result.failures[0]).contains("has 255"));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace tallowby
