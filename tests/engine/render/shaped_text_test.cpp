#include "workbook/engine/render/shaped_text.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <vector>

#include "workbook/engine/render/sheet_fonts.h"

namespace tallowby::engine {
namespace {

using render::shapedText;

QFont fontOf(bool bold = false, bool italic = false) {
    Font f;
    if (bold) f.weight = 700;
    f.italic = italic;
    return render::toQFont(f);
}

QImage blank() {
    QImage image(240, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The same text drawn by Qt from the string and from the kept shape, at
// whole and fractional positions, as the sheet's alignments place it.
void expectSamePixels(const QFont& font, const QString& text) {
    for (const double x : {3.0, 17.5, 40.25, 61.703125, 88.33}) {
        QImage fromText = blank(), fromShape = blank();
        {
            QPainter p(&fromText);
            p.setFont(font);
            p.setPen(QColor(0x20, 0x40, 0x80));
            p.drawText(QPointF(x, 26), text);
        }
        {
            QPainter p(&fromShape);
            p.setFont(font);
            p.setPen(QColor(0x20, 0x40, 0x80));
            render::drawTextLine(p, QPointF(x, 26), font, font.key(), text);
        }
        EXPECT_TRUE(fromText == fromShape) << text.toStdString() << " at x = " << x;
    }
}

TEST(ShapedText, DrawsPixelForPixelWhatDrawingTheTextDoes) {
    // Right-to-left texts are drawn from the string; the rest from the shape.
    const QStringList texts = {"0.00",
                               "$1,234.56",
                               "Weekly Timesheet",
                               "  leading spaces",
                               "Zoë Ångström-Łukasiewicz",
                               "fi fl ffi AVATAR To.",
                               "(123.45)",
                               "שלום 123 abc",
                               "مرحبا 42",
                               "東京 office",
                               "😀 smile"};
    for (const QFont& font : {fontOf(), fontOf(true), fontOf(false, true)})
        for (const QString& text : texts) expectSamePixels(font, text);
}

TEST(ShapedText, OnlyLeftToRightTextsAreDrawnFromTheShape) {
    const QFont font = fontOf();
    EXPECT_TRUE(shapedText(font, font.key(), "Zoë 東京 1.00").onlyLeftToRight);
    EXPECT_FALSE(shapedText(font, font.key(), "abc שלום").onlyLeftToRight);
    EXPECT_FALSE(shapedText(font, font.key(), "42 مرحبا").onlyLeftToRight);
    EXPECT_FALSE(shapedText(font, font.key(), QString(QChar(0x202E)) + "abc").onlyLeftToRight);
}

TEST(ShapedText, WidthIsWhatTheFontMetricsMeasure) {
    const QFont font = fontOf(true);
    const QFontMetricsF metrics(font);
    for (const QString text : {"", " ", "Total Hours", "12,345.00 ", "שלום"})
        EXPECT_DOUBLE_EQ(shapedText(font, font.key(), text).width, metrics.horizontalAdvance(text))
            << text.toStdString();
}

// A kept shape belongs to its font: the same text in another font is shaped anew.
TEST(ShapedText, KeptPerFont) {
    const QFont plain = fontOf(), bold = fontOf(true);
    const double plainWidth = shapedText(plain, plain.key(), "Overtime Hours").width;
    const double boldWidth = shapedText(bold, bold.key(), "Overtime Hours").width;
    EXPECT_NE(plainWidth, boldWidth);
    EXPECT_DOUBLE_EQ(shapedText(plain, plain.key(), "Overtime Hours").width, plainWidth);
}

// Past the bound the cache starts over; texts shaped after that are still right.
TEST(ShapedText, StaysRightPastItsBound) {
    const QFont font = fontOf();
    const QFontMetricsF metrics(font);
    for (int i = 0; i < 20000; ++i) {
        const QString text = QString::number(i * 7.25, 'f', 2);
        ASSERT_DOUBLE_EQ(shapedText(font, font.key(), text).width, metrics.horizontalAdvance(text))
            << text.toStdString();
    }
    expectSamePixels(font, "after the bound");
}

TEST(ShapedText, OnlyRasterImagesWithoutTextLinesDrawShapes) {
    QImage image = blank();
    QPainter p(&image);
    QFont underlined = fontOf();
    underlined.setUnderline(true);
    QFont struck = fontOf();
    struck.setStrikeOut(true);
    EXPECT_TRUE(render::drawsShapedLikeText(p, fontOf()));
    EXPECT_FALSE(render::drawsShapedLikeText(p, underlined));
    EXPECT_FALSE(render::drawsShapedLikeText(p, struck));

    QBuffer pdfBytes;
    pdfBytes.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&pdfBytes);
    QPainter onPdf(&pdf);
    EXPECT_FALSE(render::drawsShapedLikeText(onPdf, fontOf()));
}

// `text` wrapped into `rect` by QPainter::drawText and from the kept lines,
// clipped to the rectangle's pixels as the sheet clips a cell: the same
// pixels?
bool wrapsLikeDrawText(const QFont& font, const QRectF& rect, int flags, const QString& text) {
    QImage fromText(240, 90, QImage::Format_RGB32);
    fromText.fill(Qt::white);
    QImage fromLines = fromText;
    for (QImage* image : {&fromText, &fromLines}) {
        QPainter p(image);
        p.setFont(font);
        p.setPen(QColor(0x20, 0x40, 0x80));
        p.setClipRect(rect.toAlignedRect().adjusted(0, 0, -1, -1));
        if (image == &fromText)
            p.drawText(rect, flags, text);
        else
            render::drawWrappedText(p, rect, flags, font, font.key(), text);
    }
    return fromText == fromLines;
}

// Wrapped into cells of many sizes, with every alignment, at whole and
// fractional places: the kept lines give the pixels drawText gives.
TEST(WrappedText, DrawsPixelForPixelWhatDrawingTheTextDoes) {
    const QStringList texts = {"Rate 98",
                               "Overtime hours",
                               "A heading long enough to need three or four lines in a narrow cell",
                               "Two\nlines",
                               "Trailing spaces   ",
                               "   leading",
                               "Averyveryverylongwordthatcannotbebrokenanywhere",
                               "Naïve café, 12.50 €",
                               "",
                               "Line\n\nwith an empty one"};
    const QSizeF sizes[] = {QSizeF(60, 37), QSizeF(27.5, 16), QSizeF(180, 70), QSizeF(3, 9)};
    std::vector<int> alignments;
    for (const int h : {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight})
        for (const int v : {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom})
            alignments.push_back(Qt::TextWordWrap | h | v);
    int compared = 0;
    for (const QFont& font : {fontOf(), fontOf(true), fontOf(false, true)})
        for (const QString& text : texts)
            for (const QSizeF& size : sizes)
                for (const double x : {2.0, 11.75})
                    for (const int flags : alignments) {
                        ++compared;
                        ASSERT_TRUE(
                            wrapsLikeDrawText(font, QRectF(QPointF(x, 5), size), flags, text))
                            << text.toStdString() << " in " << size.width() << " x "
                            << size.height() << " at x = " << x << ", flags " << flags;
                    }
    EXPECT_EQ(compared, 3 * 10 * 4 * 2 * 9);
}

// What the kept lines cannot stand for is drawn by drawText itself: the
// results still match, whatever the text or flags.
TEST(WrappedText, OtherTextsAndFlagsAreDrawnAsTheTextIs) {
    for (const QString& text :
         {QString("Tab\there"), QString("Return\rhere"), QString::fromUtf8("שלום עולם"),
          QString("Short|long") + QChar(0x9c) + "S"})
        for (const int flags : {int(Qt::TextWordWrap | Qt::AlignLeft),
                                int(Qt::TextWordWrap | Qt::AlignJustify | Qt::AlignTop),
                                int(Qt::AlignLeft | Qt::AlignVCenter)})
            EXPECT_TRUE(wrapsLikeDrawText(fontOf(), QRectF(4, 4, 50, 50), flags, text))
                << text.toStdString() << ", flags " << flags;
}

}  // namespace
}  // namespace tallowby::engine
