#include "app/error_report.h"

#include <gtest/gtest.h>

#include "app/build_config.h"

namespace tallowby {
namespace {

TEST(ErrorReport, TextIsAssembledByteForByte) {
    const QString expected = QStringLiteral(
                                 "Subscript out of range\r\n"
                                 "in Tallowby2021/08/31.Form1.Form_Load at line 146\r\r"
                                 "Please email screenshot of this message to ") +
                             QString::fromUtf8(build::kSupportEmail);
    EXPECT_EQ(error_report::text(QStringLiteral("Subscript out of range"), QStringLiteral("Form1"),
                                 QStringLiteral("Form_Load"), 146),
              expected);
}

TEST(ErrorReport, LocationTextEndsInOneBlankAndKeepsNamesAsGiven) {
    EXPECT_EQ(
        error_report::locationText(QStringLiteral("Form2"), QStringLiteral("picture1_MouseDown")),
        QStringLiteral("in Tallowby2021/08/31.Form2.picture1_MouseDown "));
    EXPECT_EQ(error_report::locationText(QStringLiteral("Excel1"),
                                         QStringLiteral("saveCellsActivesheet")),
              QStringLiteral("in Tallowby2021/08/31.Excel1.saveCellsActivesheet "));
}

TEST(ErrorReport, EmptyDescriptionAndLineZeroStillGiveEveryPiece) {
    const QString text = error_report::text(QString(), QStringLiteral("Form1"),
                                            QStringLiteral("PushButton3_Click"), 0);
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("\r\nin Tallowby2021/08/31.Form1.PushButton3_Click at line 0\r\r")));
    EXPECT_EQ(text.count(QLatin1Char('\n')), 1);  // the blank line is two bare CRs
}

}  // namespace
}  // namespace tallowby
