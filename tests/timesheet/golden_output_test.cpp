// The workbook and the picture file the generation run makes, byte for byte,
// against the golden files in tests/data/golden. Speed work must not change a
// byte of either; a deliberate change of what the run makes is recorded by
// regenerating the goldens (scripts/update-goldens.sh, which runs this
// program with TALLOWBY_UPDATE_GOLDEN=1) in a commit that says why.
//
// Pictures are kept zlib-compressed (qCompress) as NAME.bmp.z; the 254-rate
// picture (about 14 MB raw) is kept only as the SHA-256 of its bytes in
// NAME.bmp.sha256. On a mismatch the bytes made are left in the temp folder
// for a look.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLocale>
#include <QSaveFile>

#include "tests/support/file_bytes.h"
#include "tests/support/golden_weeks.h"
#include "tests/support/test_paths.h"
#include "timesheet/generation_run.h"

namespace tallowby {
namespace {

namespace gw = testing::golden_weeks;

struct GoldenWeek {
    const char* name;
    TimesheetRecord (*record)();
    bool keepPictureWhole;  // false: only its SHA-256 is kept
};

const GoldenWeek kWeeks[] = {
    {"sample-week", [] { return gw::sampleWeek(); }, true},
    {"rates-14", [] { return gw::weekWithRates(14); }, true},
    {"rates-254", [] { return gw::weekWithRates(254); }, false},
};

QString goldenPath(const QString& file) {
    return QStringLiteral("%1/golden/%2").arg(QLatin1String(test_paths::kTestDataDir), file);
}

bool updating() {
    return qEnvironmentVariableIntValue("TALLOWBY_UPDATE_GOLDEN") == 1;
}

void writeGolden(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(goldenPath(QString()));
    QSaveFile out(goldenPath(file));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << file.toStdString();
    out.write(bytes);
    ASSERT_TRUE(out.commit()) << file.toStdString();
}

QByteArray sha256Line(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + '\n';
}

void keepForALook(const QString& file, const QByteArray& bytes) {
    QFile out(QDir::temp().filePath(QStringLiteral("tallowby-golden-made-") + file));
    if (out.open(QIODevice::WriteOnly)) out.write(bytes);
    ADD_FAILURE() << file.toStdString() << " differs from its golden; what was made is in "
                  << out.fileName().toStdString();
}

// What one run makes: the saved workbook and the picture file as they are
// when the preview gets them.
struct Made {
    QByteArray workbook;
    QByteArray picture;
};

Made runWeek(const TimesheetRecord& record, int digit) {
    PrivateTempFolder folder;
    Made made;
    GenerationHooks hooks;
    hooks.drawDigit = [digit] { return digit; };
    // The picture file is removed once the preview has it.
    hooks.handOver = [&](const QImage&, const QString&) {
        made.picture = testing::readFile(folder.snapshotFile());
    };
    const GenerationResult result = runGeneration(record, folder, hooks);
    EXPECT_TRUE(result.handedOver);
    EXPECT_TRUE(result.failures.empty());
    made.workbook = testing::readFile(result.resultPath);
    return made;
}

class GoldenOutput : public ::testing::TestWithParam<GoldenWeek> {
  protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // The goldens were drawn with the fonts the template's Arial maps to.
        if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
            GTEST_SKIP() << "Liberation Sans is not installed (Debian package fonts-liberation)";
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_P(GoldenOutput, WorkbookAndPictureAreByteForByteTheGoldens) {
    const GoldenWeek& week = GetParam();
    const QString name = QString::fromLatin1(week.name);
    const Made made = runWeek(week.record(), 3);
    ASSERT_FALSE(made.workbook.isEmpty());
    ASSERT_FALSE(made.picture.isEmpty());
    const QString workbookFile = name + QStringLiteral(".xls");
    const QString pictureFile =
        name + (week.keepPictureWhole ? QStringLiteral(".bmp.z") : QStringLiteral(".bmp.sha256"));
    const QByteArray keptPicture =
        week.keepPictureWhole ? qCompress(made.picture, 9) : sha256Line(made.picture);
    if (updating()) {
        writeGolden(workbookFile, made.workbook);
        writeGolden(pictureFile, keptPicture);
        return;
    }
    const QByteArray goldenWorkbook = testing::readFile(goldenPath(workbookFile));
    ASSERT_FALSE(goldenWorkbook.isEmpty()) << "no golden " << workbookFile.toStdString();
    if (made.workbook != goldenWorkbook) keepForALook(workbookFile, made.workbook);

    const QByteArray golden = testing::readFile(goldenPath(pictureFile));
    ASSERT_FALSE(golden.isEmpty()) << "no golden " << pictureFile.toStdString();
    const bool same = week.keepPictureWhole ? qUncompress(golden) == made.picture
                                            : golden == sha256Line(made.picture);
    if (!same) keepForALook(name + QStringLiteral(".bmp"), made.picture);
}

INSTANTIATE_TEST_SUITE_P(Weeks, GoldenOutput, ::testing::ValuesIn(kWeeks),
                         [](const ::testing::TestParamInfo<GoldenWeek>& week) {
                             QString n = QString::fromLatin1(week.param.name);
                             return n.remove(QLatin1Char('-')).toStdString();
                         });

// The result's name has random digits; the workbook's bytes must not follow them.
TEST(GoldenOutputName, TheWorkbookBytesDoNotDependOnTheResultName) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const TimesheetRecord week = gw::sampleWeek();
    const Made first = runWeek(week, 1);
    const Made second = runWeek(week, 9);
    QLocale::setDefault(QLocale::system());
    ASSERT_FALSE(first.workbook.isEmpty());
    EXPECT_EQ(first.workbook, second.workbook);
    EXPECT_EQ(first.picture, second.picture);
}

}  // namespace
}  // namespace tallowby
