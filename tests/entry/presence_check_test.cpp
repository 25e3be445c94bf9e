#include "entry/presence_check.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_prompter.h"
#include "workbook/automation/application.h"
#include "workbook/run/engine_presence.h"

namespace tallowby {
namespace {

TEST(EnginePresenceCheck, IsSilentWhenTheEngineStarts) {
    testing::ScriptedPrompter prompter;
    bool ended = false;
    presence_check::setEndProgram([&] { ended = true; });
    presence_check::checkEngineInstalled();
    EXPECT_FALSE(ended);
    EXPECT_TRUE(prompter.messages.empty());
    presence_check::setEndProgram({});
}

TEST(EnginePresenceCheck, ExplainsAndEndsWhenNoInstanceCanBeCreated) {
    testing::ScriptedPrompter prompter;
    bool ended = false;
    presence_check::setEndProgram([&] { ended = true; });
    automation::setApplicationFactory(
        []() -> std::unique_ptr<automation::Application> { return nullptr; });
    presence_check::checkEngineInstalled();
    automation::setApplicationFactory({});
    presence_check::setEndProgram({});
    EXPECT_TRUE(ended);
    ASSERT_EQ(prompter.messages.size(), 1);
    const QStringList paragraphs = prompter.messages[0].text.split("\r\n\r\n");
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_TRUE(paragraphs[0].startsWith("Error 842001. "));
    // What was checked and what failed: the engine, not the template.
    EXPECT_TRUE(paragraphs[1].contains(":/template.xlt"));
    EXPECT_TRUE(paragraphs[1].contains("The spreadsheet engine could not be started."));
    EXPECT_FALSE(paragraphs[1].contains("could not be read"));
    EXPECT_TRUE(paragraphs[2].contains("reinstall the tallowby package"));
    EXPECT_FALSE(prompter.messages[0].text.contains("Excel"));
}

TEST(EnginePresenceCheck, NamesTheTemplateWhenTheEngineStartsButCannotReadIt) {
    const QString message = engine_presence::missingEngineMessage(
        QStringLiteral("The timesheet template :/template.xlt could not be read: truncated"));
    EXPECT_TRUE(message.startsWith("Error 842001. "));
    EXPECT_TRUE(message.contains("could not be read: truncated"));
}

}  // namespace
}  // namespace tallowby
