#include "ui/message_text.h"

#include <gtest/gtest.h>

using tallowby::message_text::linkedText;

TEST(MessageText, AnAddressBecomesALinkOnOneLine) {
    const QString html =
        linkedText("Questions? Please contact Team Marrowick at https://example.org/contact/");
    EXPECT_EQ(html, QString("<p style=\"white-space:nowrap\">Questions? Please contact Team "
                            "Marrowick at <a href=\"https://example.org/contact/\">"
                            "https://example.org/contact/</a></p>"));
}

TEST(MessageText, TextAroundTheAddressIsEscaped) {
    EXPECT_EQ(linkedText("a < b: http://x.example/?q=1&r=2 then"),
              QString("<p style=\"white-space:nowrap\">a &lt; b: <a "
                      "href=\"http://x.example/?q=1&amp;r=2\">http://x.example/?q=1&amp;r=2</a> "
                      "then</p>"));
}

TEST(MessageText, TextWithoutAnAddressStaysPlain) {
    EXPECT_TRUE(linkedText("Done.").isEmpty());
    EXPECT_TRUE(linkedText("Are you sure you wish to overwrite /tmp/http.xls ?").isEmpty());
}
