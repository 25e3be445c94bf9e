#include "app/message_field.h"

#include <gtest/gtest.h>

namespace tallowby {
namespace {

TEST(MessageField, LongFieldsAreCutAfterEightyCharactersWithAnEllipsis) {
    EXPECT_EQ(fieldForMessage(""), "");
    EXPECT_EQ(fieldForMessage(QString(80, 'a')), QString(80, 'a'));
    EXPECT_EQ(fieldForMessage(QString(81, 'a')), QString(80, 'a') + QChar(0x2026));
    EXPECT_EQ(fieldForMessage(QString(200000, 'b')).size(), 81);
    // A character outside the basic plane counts once and is never split.
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");  // U+1D11E, two UTF-16 units
    QString clefs;
    for (int i = 0; i < 81; ++i) clefs += clef;
    const QString cut = fieldForMessage(clefs);
    EXPECT_EQ(cut.size(), 161);
    EXPECT_EQ(cut.left(160), clefs.left(160));
    EXPECT_EQ(fieldForMessage(QString(79, 'a') + clef + "b"),
              QString(79, 'a') + clef + QChar(0x2026));
}

}  // namespace
}  // namespace tallowby
