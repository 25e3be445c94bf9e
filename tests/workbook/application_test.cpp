#include "workbook/automation/application.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include "tests/support/file_bytes.h"
#include "tests/support/zip_entry.h"
#include "workbook/automation/engine_calls.h"
#include "workbook/run/template_resource.h"

namespace tallowby::automation {
namespace {

class ApplicationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        templatePath = dir.filePath("template.xlt");
        ASSERT_TRUE(testing::writeFile(templatePath, templateBytes()));
        app.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    const engine::Cell* cell(int row, int col) {
        return app.ActiveWorkbook().ActiveSheet().sheet().find(static_cast<uint16_t>(row - 1),
                                                               static_cast<uint16_t>(col - 1));
    }
    std::string formatOf(int row, int col) {
        const auto& model = app.ActiveWorkbook().model();
        return model.formatCode(model.xf(cell(row, col)->xf).format);
    }

    QTemporaryDir dir;
    QString templatePath;
    Application app;
};

TEST_F(ApplicationTest, TypedTextBecomesValuesAndFormulasSeeThem) {
    Workbook& book = app.Workbooks().Open(templatePath, true);
    EXPECT_EQ(app.Workbooks().count(), 1);
    EXPECT_EQ(&app.Workbooks()(1), &book);
    book.Worksheets(1).Activate();
    EXPECT_EQ(book.ActiveSheet().Name(), QStringLiteral("Employee Timesheet"));

    app.Cells(20, 2).setValue(QStringLiteral("11.50"));  // B20 rate
    app.Cells(12, 2).setValue(QStringLiteral("02:00"));  // B12 hours
    app.Cells(13, 2).setValue(QStringLiteral("01:30"));
    app.Cells(4, 1).setValue(QStringLiteral("ACME Inc"));
    app.Cells(9, 7).setValue(QDate(2021, 8, 30));

    ASSERT_EQ(cell(20, 2)->value.type, engine::CellValue::Type::Number);
    EXPECT_DOUBLE_EQ(cell(20, 2)->value.number, 11.5);
    EXPECT_NEAR(cell(12, 2)->value.number, 2.0 / 24, 1e-12);
    EXPECT_EQ(cell(4, 1)->value.text, "ACME Inc");
    EXPECT_DOUBLE_EQ(cell(9, 7)->value.number, 44438);  // 30 August 2021
    // The template's own formats are kept: hours stay [h]:mm, the rate #,##0.00.
    EXPECT_EQ(formatOf(12, 2), "[h]:mm");
    EXPECT_EQ(formatOf(20, 2), "#,##0.00");

    book.recalculateIfNeeded();
    EXPECT_NEAR(cell(19, 2)->value.number, 3.5 / 24, 1e-12);   // B19 total hours
    EXPECT_NEAR(cell(21, 2)->value.number, 11.5 * 3.5, 1e-9);  // B21 pay
    EXPECT_NEAR(cell(21, 9)->value.number, 11.5 * 3.5, 1e-9);  // I21 total pay
    EXPECT_DOUBLE_EQ(cell(12, 1)->value.number, 44438);        // A12 = G9
    EXPECT_DOUBLE_EQ(cell(18, 1)->value.number, 44444);        // A18 = A17 + 1
}

TEST_F(ApplicationTest, WritingOverAFormulaReplacesItAndEmptyTextClears) {
    app.Workbooks().Open(templatePath, true);
    ASSERT_TRUE(cell(12, 1)->hasFormula());
    app.Cells(12, 1).setValue(QStringLiteral("02:00"));
    EXPECT_FALSE(cell(12, 1)->hasFormula());
    app.Cells(4, 1).setValue(QString());
    EXPECT_TRUE(cell(4, 1)->value.isEmpty());
}

TEST_F(ApplicationTest, GeneralCellsAdoptTheFormatOfATypedTimeOrDate) {
    app.Workbooks().Open(templatePath, true);
    app.Cells(40, 12).setValue(QStringLiteral("02:00"));
    EXPECT_EQ(formatOf(40, 12), "h:mm");
    app.Cells(41, 12).setValue(QDate(2024, 2, 29));
    EXPECT_EQ(formatOf(41, 12), app.ActiveWorkbook().model().formatCode(14));
    app.Cells(42, 12).setValue(QStringLiteral("12.5"));
    EXPECT_EQ(formatOf(42, 12), "General");
}

TEST_F(ApplicationTest, SaveAsAcceptsOnlyTheLegacyFormatCodesAndDropsTheTemplateMarker) {
    Workbook& book = app.Workbooks().Open(templatePath, true);
    app.Cells(20, 2).setValue(QStringLiteral("10"));
    app.Cells(12, 2).setValue(QStringLiteral("03:00"));
    EXPECT_THROW(book.SaveAs(dir.filePath("a.csv"), 6), std::exception);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.csv")));
    EXPECT_THROW(book.SaveAs(templatePath, 56), std::exception);  // read-only

    const QString out = dir.filePath("out.xls");
    EXPECT_TRUE(book.SaveAs(out, -4143).isEmpty());
    const engine::Workbook saved = automation::readWorkbookFile(out);
    EXPECT_FALSE(saved.isTemplate);
    const engine::Cell* pay = saved.sheets.at(0).find(20, 8);  // I21
    ASSERT_NE(pay, nullptr);
    EXPECT_NEAR(pay->value.number, 30.0, 1e-9);  // the computed result is saved
}

TEST_F(ApplicationTest, SaveAsXlsxBuildsInTheScratchFolderAndReplacesTheTargetWhole) {
    QTemporaryDir scratch;
    app.setScratchFolder(scratch.path());
    Workbook& book = app.Workbooks().Open(templatePath, true);
    app.Cells(20, 2).setValue(QStringLiteral("10"));
    app.Cells(12, 2).setValue(QStringLiteral("03:00"));
    const QString out = dir.filePath("out.xlsx");
    {
        QFile old(out);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older file");
    }
    EXPECT_TRUE(book.SaveAs(out, kXlsxFormat).isEmpty());
    // I21's total pay, computed here before the save, is the cached result.
    const std::string sheet = testing::zipEntry(out.toStdString(), "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(testing::contains(sheet, "<c r=\"I21\" s=\"")) << sheet.substr(0, 400);
    EXPECT_TRUE(testing::contains(sheet, "<f>SUM(B21:H21)</f><v>30</v>"));
    EXPECT_EQ(book.FullName(), QFileInfo(out).absoluteFilePath());
    // The scratch folder is left empty.
    EXPECT_TRUE(QDir(scratch.path()).isEmpty());

    // A scratch folder that cannot be made fails the save and keeps the file.
    app.setScratchFolder(dir.filePath("missing"));
    EXPECT_THROW(book.SaveAs(out, kXlsxFormat), std::exception);
    EXPECT_TRUE(testing::contains(testing::zipEntry(out.toStdString(), "xl/worksheets/sheet1.xml"),
                                  "<v>30</v>"));
}

TEST_F(ApplicationTest, OperationsFailWithADescriptionAfterQuitOrOutOfRange) {
    EXPECT_THROW(app.ActiveWorkbook(), std::exception);  // nothing open
    app.Workbooks().Open(templatePath, true);
    EXPECT_THROW(app.Cells(0, 1), std::exception);
    EXPECT_THROW(app.Cells(1, 257), std::exception);
    EXPECT_THROW(app.Workbooks()(2), std::exception);
    EXPECT_THROW(app.ActiveWorkbook().Worksheets(2), std::exception);
    EXPECT_THROW(app.Workbooks().Open(dir.filePath("missing.xls")), std::exception);
    app.Quit();
    EXPECT_EQ(app.Workbooks().count(), 0);
    try {
        app.Cells(1, 1);
        FAIL() << "a quit instance answered";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("quit"), std::string::npos);
    }
}

TEST(DateSerial, CountsTheFictitiousLeapDayOf1900) {
    EXPECT_EQ(dateSerial(QDate(1900, 1, 1), false), 1);
    EXPECT_EQ(dateSerial(QDate(1900, 2, 28), false), 59);
    EXPECT_EQ(dateSerial(QDate(1900, 3, 1), false), 61);
    EXPECT_EQ(dateSerial(QDate(2021, 8, 30), false), 44438);
    EXPECT_EQ(dateSerial(QDate(1904, 1, 2), true), 1);
}

}  // namespace
}  // namespace tallowby::automation
