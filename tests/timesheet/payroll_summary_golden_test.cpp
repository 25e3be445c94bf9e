// The payroll summary workbook, byte for byte, against the goldens in
// tests/data/golden: speed work on the summary or the engine under it must not
// change a byte of it. A deliberate change is recorded by regenerating the
// goldens (scripts/update-goldens.sh) in a commit that says why.
//
// The small summaries are kept whole so a difference can be looked at; the
// one of 3,000 timesheets (several hundred KB) only as the SHA-256 of its
// bytes. On a mismatch the bytes made are left in the temp folder.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include "tests/support/file_bytes.h"
#include "tests/support/test_paths.h"
#include "timesheet/payroll_summary.h"
#include "timesheet/payroll_summary_workbook.h"

namespace tallowby {
namespace {

using namespace payroll_summary;

// Rows made from their index alone, so the summary is the same on every
// machine: three to nine of nine rate types (the others blank), names that
// need the wide form of the string table, shared and single-use texts, pay
// with cents and without, weeks over several years.
std::vector<SummaryRow> officeRows(int count) {
    const char* const rateTypes[] = {"Regular",  "Overtime", "Night",   "Weekend", "Travel",
                                     "Training", "Sick",     "Holiday", "Prämie"};
    std::vector<SummaryRow> rows;
    for (int t = 0; t < count; ++t) {
        SummaryRow row;
        row.employee = t % 13 == 0 ? QStringLiteral("Zoë Ångström %1").arg(t % 211)
                                   : QStringLiteral("Employee %1").arg(t % 389);
        row.supervisor = t % 5 == 0 ? QString() : QStringLiteral("Supervisor %1").arg(t % 7);
        row.company = t % 17 == 0 ? QStringLiteral("Müller & Söhne") : QStringLiteral("ACME Inc");
        row.weekStart = QDate(2026, 11, 30).addDays(-7 * (t % 157));
        row.source = QStringLiteral("timesheet-%1.ini").arg(t, 5, 10, QLatin1Char('0'));
        const int kinds = 3 + t % 7;
        for (int i = 0; i < kinds; ++i) {
            const int kind = (t + 2 * i) % 9;
            RateFigures& figures = row.rates[QString::fromUtf8(rateTypes[kind])];
            figures.minutes = (t * 37 + i * 91) % 2400;
            figures.pay = i % 4 == 0 ? 0.0 : static_cast<double>((t * 53 + i * 7) % 90000) / 100;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

struct GoldenSummary {
    const char* name;
    int rows;
    bool keepWhole;  // false: only its SHA-256 is kept
};

const GoldenSummary kSummaries[] = {
    {"summary-none", 0, true},
    {"summary-40", 40, true},
    {"summary-3000", 3000, false},
};

QString goldenPath(const QString& file) {
    return QStringLiteral("%1/golden/%2").arg(QLatin1String(test_paths::kTestDataDir), file);
}

QByteArray sha256Line(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + '\n';
}

class GoldenSummaryWorkbook : public ::testing::TestWithParam<GoldenSummary> {};

TEST_P(GoldenSummaryWorkbook, IsByteForByteTheGolden) {
    const GoldenSummary& golden = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("summary.xls"));
    writeSummaryWorkbook(summarize(officeRows(golden.rows)), path, dir.path());
    const QByteArray made = testing::readFile(path);
    ASSERT_FALSE(made.isEmpty());
    const QString name = QString::fromLatin1(golden.name);
    const QString file =
        name + (golden.keepWhole ? QStringLiteral(".xls") : QStringLiteral(".xls.sha256"));
    const QByteArray kept = golden.keepWhole ? made : sha256Line(made);
    if (qEnvironmentVariableIntValue("TALLOWBY_UPDATE_GOLDEN") == 1) {
        QSaveFile out(goldenPath(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << file.toStdString();
        out.write(kept);
        ASSERT_TRUE(out.commit()) << file.toStdString();
        return;
    }
    const QByteArray expected = testing::readFile(goldenPath(file));
    ASSERT_FALSE(expected.isEmpty()) << "no golden " << file.toStdString();
    if (kept == expected) return;
    QFile look(QDir::temp().filePath(QStringLiteral("tallowby-golden-made-%1.xls").arg(name)));
    if (look.open(QIODevice::WriteOnly)) look.write(made);
    ADD_FAILURE() << file.toStdString() << " differs from its golden; what was made is in "
                  << look.fileName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Summaries, GoldenSummaryWorkbook, ::testing::ValuesIn(kSummaries),
                         [](const ::testing::TestParamInfo<GoldenSummary>& s) {
                             QString n = QString::fromLatin1(s.param.name);
                             return n.remove(QLatin1Char('-')).toStdString();
                         });

// The summary's figures are what the rows say: the goldens pin bytes, this
// pins that the bytes pinned are the right ones.
TEST(GoldenSummaryRows, ReadBackAsTheyWereWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("summary.xls"));
    const PayrollSummary summary = summarize(officeRows(3000));
    writeSummaryWorkbook(summary, path, dir.path());
    const PayrollSummary back = summarize(readSummaryWorkbook(path));
    EXPECT_EQ(back.rateTypes, summary.rateTypes);
    EXPECT_EQ(back.rows, summary.rows);
}

}  // namespace
}  // namespace tallowby
