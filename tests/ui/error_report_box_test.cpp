#include "ui/error_report_box.h"

#include <gtest/gtest.h>

#include "app/error_report.h"
#include "app/failure.h"
#include "tests/support/scripted_prompter.h"

namespace tallowby {
namespace {

TEST(ErrorReport, ShowsWarningBoxWithOwnCaptionAndOkOnly) {
    testing::ScriptedPrompter prompter;
    error_report_box::show(QStringLiteral("Disk full"), QStringLiteral("Form1"),
                           QStringLiteral("Form_QueryUnload"), 120);
    ASSERT_EQ(prompter.messages.size(), 1u);
    const auto& m = prompter.messages[0];
    EXPECT_EQ(m.caption, QStringLiteral("Application Error"));
    EXPECT_EQ(m.icon, Prompter::Icon::Warning);
    EXPECT_EQ(m.buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(m.text, error_report::text(QStringLiteral("Disk full"), QStringLiteral("Form1"),
                                         QStringLiteral("Form_QueryUnload"), 120));
}

TEST(ErrorReport, AGuardedProcedureOverAWindowShowsEachFailureAsItHappens) {
    testing::ScriptedPrompter prompter;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"),
              error_report_box::shownOver(nullptr));
    g.run(160, [] { throw Failure("Type mismatch"); });
    EXPECT_EQ(prompter.messages.size(), 1u);  // shown before the next statement runs
    {
        Guarded::Repeated loop(g);
        for (int i = 0; i < 3; ++i) g.run(162, [] { throw Failure("Overflow"); });
        EXPECT_EQ(prompter.messages.size(), 1u);
    }
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].caption, QString::fromUtf8(error_report::kCaption));
    EXPECT_EQ(prompter.messages[0].text,
              error_report::text(QStringLiteral("Type mismatch"), QStringLiteral("Form1"),
                                 QStringLiteral("PushButton3_Click"), 160));
    EXPECT_EQ(
        prompter.messages[1].text,
        error_report::text(QStringLiteral("Overflow (this happened 3 times)"),
                           QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), 162));
    EXPECT_EQ(prompter.messages[1].icon, Prompter::Icon::Warning);
}

}  // namespace
}  // namespace tallowby
