// tallowby-fill reads typed numbers the way the user's locale writes them:
// the same week typed with decimal commas gives the same pay under German and
// French conventions as with decimal points under C.
#include <gtest/gtest.h>
#include <locale.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <optional>

#include "tests/fill/fill_process.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using tallowby::testing::runFill;
using tallowby::testing::writeFile;

bool localeAvailable(const char* name) {
    const locale_t handle = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
    if (!handle) return false;
    freelocale(handle);
    return true;
}

class FillLocaleTest : public ::testing::TestWithParam<const char*> {
  protected:
    // Writes a settings file whose rates are typed as `regular` and `overtime`.
    QString settingsWithRates(const char* regular, const char* overtime) {
        const QString path = dir.filePath("timesheet.ini");
        EXPECT_TRUE(writeFile(
            path,
            QByteArray("[Tallowby]\ntxtName=Tallowby Test\ndtpDate=2021-08-30\nRates=Regular^") +
                regular + "|Overtime^" + overtime +
                "\nHours=Mon^Regular^02:00^0^0|Tue^Overtime^01:30^1^1\n"));
        return path;
    }

    // The week's pay (I21) in the workbook tallowby-fill writes under `locale`.
    // A rate that is no number under the locale is reported (exit 1) and not written.
    std::optional<double> payUnder(const QString& locale, const QString& settings,
                                   int expectedExit = 0) {
        const QString xls = dir.filePath("week.xls");
        QFile::remove(xls);
        const auto outcome = runFill({"--xls", xls, "--settings", settings}, locale);
        EXPECT_EQ(outcome.exitCode, expectedExit) << outcome.err.toStdString();
        if (outcome.exitCode != expectedExit) return std::nullopt;
        const auto book = tallowby::engine::readWorkbookFile(xls.toStdString());
        const auto* pay = book.sheets.at(0).find(20, 8);
        if (!pay || pay->value.type != tallowby::engine::CellValue::Type::Number)
            return std::nullopt;
        return pay->value.number;
    }

    QTemporaryDir dir;
};

TEST_P(FillLocaleTest, DecimalCommasGiveThePayUnderALocaleThatWritesThem) {
    const char* locale = GetParam();
    if (!localeAvailable(locale))
        GTEST_SKIP() << locale
                     << " is not generated on this machine (scripts/install-deps.sh --tests)";
    const double expected = 2 * 11.5 + 1.5 * 12.7;  // Monday regular, Tuesday overtime

    const auto pay = payUnder(QString::fromLatin1(locale), settingsWithRates("11,50", "12,70"));
    ASSERT_TRUE(pay.has_value());
    EXPECT_NEAR(*pay, expected, 1e-9);

    // The same typed text under C is no number: the rates are reported and
    // not written, so the pay is 0 and the locale decided.
    const auto plain = payUnder(QStringLiteral("C.UTF-8"), settingsWithRates("11,50", "12,70"), 1);
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(*plain, 0);
}

INSTANTIATE_TEST_SUITE_P(Locales, FillLocaleTest, ::testing::Values("de_DE.UTF-8", "fr_FR.UTF-8"),
                         [](const auto& param) { return std::string(param.param).substr(0, 5); });

}  // namespace
