// tallowby-fill --pdf: the printed page of a filled week, checked with the
// poppler tools as a reader of the PDF would see it.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/fill/fill_process.h"
#include "workbook/engine/biff/workbook_io.h"

namespace {

using ProgramRun = tallowby::testing::FillOutcome;
using tallowby::testing::runFill;
using tallowby::testing::runProgram;
using tallowby::testing::writeFile;

// An amount of money in half cents, shown with two decimals rounded half up
// as the sheet's formats show it.
QString money(long long halfCents) {
    const long long cents = (halfCents + 1) / 2;
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

QString hours(int minutes) {
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

class FillPdfTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!popplerInstalled()) GTEST_SKIP() << "poppler-utils (pdftotext) is not installed";
        ASSERT_TRUE(dir.isValid());
        settings = dir.filePath("week.ini");
        ASSERT_TRUE(
            writeFile(settings,
                      "[Tallowby]\n"
                      "txtName=Quillfeather Joinery Ltd\n"
                      "txtLocation=12 Mill Lane\n"
                      "txtCity=Springfield\n"
                      "txtPhone=555-0100\n"
                      "txtEmp=Ana Example\n"
                      "txtSVisor=Bo Overseer\n"
                      "dtpDate=2021-08-30\n"
                      "Rates=Regular^11.50|Overtime^12.70|Illness^10.00\n"
                      "Hours=Mon^Regular^08:00^0^0|Tue^Overtime^01:30^1^1|Wed^Regular^07:45^2^0|"
                      "Sun^Illness^03:15^6^2\n"));
    }
    static bool popplerInstalled() { return runProgram("pdftotext", {"-v"}).exitCode == 0; }

    QTemporaryDir dir;
    QString settings;
};

TEST_F(FillPdfTest, OnePageHoldingEveryTextAndFigureAsTextWithItsFontsAndTitle) {
    const QString xls = dir.filePath("week.xls");
    const QString pdf = dir.filePath("week.pdf");
    const ProgramRun fill =
        runFill({"--xls", xls, "--pdf", pdf, "--settings", settings}, "en_US.UTF-8");
    ASSERT_EQ(fill.exitCode, 0) << fill.err.toStdString();

    const ProgramRun info = runProgram("pdfinfo", {pdf});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_TRUE(info.out.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral(
        "Title:           Employee Timesheet \u2013 Ana Example \u2013 week of 2021-08-30")))
        << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QRegularExpression("Creator:\\s+Tallowby\\n")));
    EXPECT_TRUE(info.out.contains("(letter)")) << info.out.toStdString();  // the US locale's paper

    const ProgramRun fonts = runProgram("pdffonts", {pdf});
    ASSERT_EQ(fonts.exitCode, 0);
    const QStringList fontLines = fonts.out.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fontLines.isEmpty());
    for (const QString& line : fontLines)  // the "emb" column
        EXPECT_TRUE(line.contains(QRegularExpression("\\s+yes\\s+(yes|no)\\s+(yes|no)\\s+\\d+")))
            << line.toStdString();

    const ProgramRun images = runProgram("pdfimages", {"-list", pdf});
    EXPECT_EQ(images.out.split('\n', Qt::SkipEmptyParts).size(), 2);  // the heading only: no bitmap

    const ProgramRun text = runProgram("pdftotext", {"-layout", pdf, "-"});
    ASSERT_EQ(text.exitCode, 0);
    const QString page = text.out;
    QStringList expected = {"Quillfeather Joinery Ltd",
                            "12 Mill Lane",
                            "Springfield",
                            "555-0100",
                            "Ana Example",
                            "Bo Overseer",
                            "8/30/2021"};
    // The seven days as the sheet shows them ("ddd m/d").
    for (int d = 0; d < 7; ++d) {
        const QDate day = QDate(2021, 8, 30).addDays(d);
        expected << QLocale(QLocale::English).toString(day, "ddd") + " " +
                        QString::number(day.month()) + "/" + QString::number(day.day());
    }
    // Hours per entry and the totals, minutes added up by hand.
    const int regular = 8 * 60 + 7 * 60 + 45, overtime = 90, illness = 3 * 60 + 15;
    expected << hours(8 * 60) << hours(90) << hours(7 * 60 + 45) << hours(illness) << hours(regular)
             << hours(regular + overtime + illness) << "0:00";
    // Pay in half cents: rate (cents) x minutes / 30.
    const long long regularPay = 1150LL * regular / 30, overtimePay = 1270LL * overtime / 30,
                    illnessPay = 1000LL * illness / 30;
    expected << "11.50"
             << "12.70"
             << "10.00" << money(regularPay) << money(overtimePay) << money(illnessPay)
             << money(regularPay + overtimePay + illnessPay);
    // Every label of the print area, read from the workbook.
    const auto book = tallowby::engine::readWorkbookFile(xls.toStdString());
    const auto& sheet = book.sheets.at(0);
    ASSERT_TRUE(sheet.printArea);
    int labels = 0;
    for (const auto& [at, cell] : sheet.cells())
        if (sheet.printArea->contains(at.row, at.col) &&
            cell.value.type == tallowby::engine::CellValue::Type::Text && !cell.hasFormula() &&
            !cell.value.text.empty()) {
            // A wrapped heading comes out on two lines: each word on its own.
            for (const QString& word : QString::fromStdString(cell.value.text)
                                           .split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
                expected << word;
            ++labels;
        }
    EXPECT_GT(labels, 20);
    for (const QString& shown : expected)
        EXPECT_TRUE(page.contains(shown)) << shown.toStdString() << " not in\n"
                                          << page.toStdString();
    EXPECT_EQ(page.count(money(regularPay + overtimePay + illnessPay)), 2);  // table and summary
}

TEST_F(FillPdfTest, PaperFollowsTheLocaleAndThePdfStandsAlone) {
    const QString pdf = dir.filePath("week.pdf");
    const ProgramRun fill = runFill({"--pdf", pdf, "--settings", settings}, "de_DE.UTF-8");
    // "11.50" is no number where the decimal mark is a comma: the rates are
    // reported (exit 1) and the page is still made.
    ASSERT_EQ(fill.exitCode, 1) << fill.err.toStdString();
    EXPECT_TRUE(fill.err.contains("\"11.50\" of \"Regular\": not a number"))
        << fill.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // settings and the PDF
    const ProgramRun info = runProgram("pdfinfo", {pdf});
    EXPECT_TRUE(info.out.contains("(A4)")) << info.out.toStdString();
}

TEST_F(FillPdfTest, APdfThatCannotBeWrittenLeavesTheOldFileWhole) {
    const QString pdf = dir.filePath("week.pdf");
    ASSERT_TRUE(writeFile(pdf, "old contents"));
    const QString blocked = settings + "/week.pdf";  // below a regular file
    const ProgramRun o = runFill({"--pdf", blocked, "--settings", settings});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(o.err.contains("cannot write", Qt::CaseInsensitive)) << o.err.toStdString();

    const ProgramRun both =
        runFill({"--xls", dir.filePath("week.xls"), "--picture", dir.filePath("week.png"), "--pdf",
                 pdf, "--settings", settings});
    ASSERT_EQ(both.exitCode, 0) << both.err.toStdString();
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("%PDF-"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);  // no stray temp files
}

}  // namespace
