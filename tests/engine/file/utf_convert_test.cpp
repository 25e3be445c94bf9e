// The one UTF-8/UTF-16 conversion the engine uses for file text, stream
// names and formula strings.
#include "workbook/engine/common/utf_convert.h"

#include <gtest/gtest.h>

namespace tallowby::engine::unicode {
namespace {

TEST(UtfConvert, EncodesEveryLength) {
    std::string out;
    for (char32_t c : {U'A', U'\u00E9', U'\u20AC', U'\U0001F600'}) appendUtf8(out, c);
    EXPECT_EQ(out, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(UtfConvert, RoundTripsPairs) {
    const std::u16string units = u"a\u00E9\u20AC\U0001F600z";
    const std::string text = utf16ToUtf8(units);
    EXPECT_EQ(text, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(utf8ToUtf16(text), units);
}

TEST(UtfConvert, LoneSurrogatesBecomeReplacements) {
    const std::u16string lone = {0xD800, u'x', 0xDC00, 0xD83D};
    EXPECT_EQ(utf16ToUtf8(lone), "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(UtfConvert, BrokenUtf8BecomesReplacements) {
    // A stray continuation byte, a sequence cut by the next character, one cut
    // by the end, an encoded surrogate and a code point past U+10FFFF.
    EXPECT_EQ(utf8ToUtf16("\x80"
                          "a"),
              (std::u16string{0xFFFD, u'a'}));
    EXPECT_EQ(utf8ToUtf16("\xE2\x82"
                          "b"),
              (std::u16string{0xFFFD, u'b'}));
    EXPECT_EQ(utf8ToUtf16("c\xE2\x82"), (std::u16string{u'c', 0xFFFD, 0xFFFD}));
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), (std::u16string{0xFFFD}));
    EXPECT_EQ(utf8ToUtf16("\xF4\x90\x80\x80"), (std::u16string{0xFFFD}));
    EXPECT_EQ(utf8ToUtf16("\xFF"), (std::u16string{0xFFFD}));
}

TEST(UtfConvert, SequenceLengthsFromTheLeadByte) {
    EXPECT_EQ(utf8SequenceLength('a'), 1u);
    EXPECT_EQ(utf8SequenceLength(0xC3), 2u);
    EXPECT_EQ(utf8SequenceLength(0xE2), 3u);
    EXPECT_EQ(utf8SequenceLength(0xF0), 4u);
    EXPECT_EQ(utf8SequenceLength(0x80), 1u);  // a continuation byte
    EXPECT_EQ(utf8SequenceLength(0xF8), 1u);
}

TEST(UtfConvert, CharactersOfUtf8Text) {
    EXPECT_FALSE(isUtf8Continuation('a'));
    EXPECT_FALSE(isUtf8Continuation(0xE2));
    EXPECT_TRUE(isUtf8Continuation(0x82));
    EXPECT_EQ(utf8CharacterCount(""), 0u);
    EXPECT_EQ(utf8CharacterCount("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), 4u);
}

TEST(UtfConvert, SurrogateTests) {
    EXPECT_TRUE(isHighSurrogate(0xD800));
    EXPECT_TRUE(isHighSurrogate(0xDBFF));
    EXPECT_FALSE(isHighSurrogate(0xDC00));
    EXPECT_TRUE(isLowSurrogate(0xDFFF));
    EXPECT_FALSE(isLowSurrogate(0xE000));
    EXPECT_TRUE(isSurrogate(0xDC00));
    EXPECT_FALSE(isSurrogate(0xD7FF));
}

}  // namespace
}  // namespace tallowby::engine::unicode
