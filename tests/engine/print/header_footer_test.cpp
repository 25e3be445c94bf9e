// Headers and footers: their &-codes expanded, and drawn on the PDF page.
#include "workbook/engine/print/header_footer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "workbook/engine/print/pdf_document.h"

namespace tallowby::engine::print {
namespace {

HeaderFooterContext pageThreeOfFive() {
    HeaderFooterContext c;
    c.page = 3;
    c.pages = 5;
    c.date = "8/30/2021";
    c.time = "9:15 AM";
    c.fileName = "week.xls";
    c.sheetName = "Employee Timesheet";
    return c;
}

TEST(HeaderFooter, SectionsAndCodes) {
    const auto c = pageThreeOfFive();
    EXPECT_EQ(expandHeaderFooter("&L&F&C&A&RPage &P of &N", c),
              (HeaderFooterText{"week.xls", "Employee Timesheet", "Page 3 of 5"}));
    EXPECT_EQ(expandHeaderFooter("Printed &D &T", c),
              (HeaderFooterText{"", "Printed 8/30/2021 9:15 AM", ""}));
    EXPECT_EQ(expandHeaderFooter("&rright&lleft", c), (HeaderFooterText{"left", "", "right"}));
    EXPECT_EQ(expandHeaderFooter("Smith && Sons&", c), (HeaderFooterText{"", "Smith & Sons", ""}));
    EXPECT_TRUE(expandHeaderFooter("", c).empty());
}

TEST(HeaderFooter, FontCodesAreDropped) {
    const auto c = pageThreeOfFive();
    EXPECT_EQ(expandHeaderFooter("&C&\"Arial,Bold\"&14Weekly &Bsheet&B &UP&P", c),
              (HeaderFooterText{"", "Weekly sheet P3", ""}));
    EXPECT_EQ(expandHeaderFooter("&\"Arial", c).centre, "");  // an unclosed font name
    EXPECT_EQ(expandHeaderFooter("&9&L10 pt", c).left, "10 pt");
}

TEST(HeaderFooter, DrawnAsTextOnThePage) {
    if (QProcess::execute("pdftotext", {"-v"}) != 0) GTEST_SKIP() << "poppler-utils missing";
    Workbook wb;
    wb.fonts.push_back(Font{});
    Sheet& s = wb.sheets.emplace_back();
    s.name = "Week 35";
    s.at(0, 0).value = CellValue::fromText("body text");
    s.pageSetup.header = "&LQuillfeather&RSheet &A";
    s.pageSetup.footer = "&CPage &P of &N";
    QTemporaryDir dir;
    const QString path = dir.filePath("page.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(sheetToPdf(wb, 0, FormatLocale::english(), kA4, {}));
    file.close();
    QProcess text;
    text.start("pdftotext", {"-layout", path, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    const qsizetype header = page.indexOf("Quillfeather"), body = page.indexOf("body text"),
                    footer = page.indexOf("Page 1 of 1");
    EXPECT_GE(header, 0) << page.toStdString();
    EXPECT_TRUE(page.contains("Sheet Week 35")) << page.toStdString();
    EXPECT_GT(body, header);
    EXPECT_GT(footer, body);
}

}  // namespace
}  // namespace tallowby::engine::print
