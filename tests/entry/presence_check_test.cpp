#include "entry/presence_check.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_prompter.h"
#include "workbook/automation/application.h"

namespace tallowby {
namespace {

TEST(CheckExcelInstalled, IsSilentWhenTheEngineStarts) {
    testing::ScriptedPrompter prompter;
    bool ended = false;
    presence_check::setEndProgram([&] { ended = true; });
    presence_check::checkEngineInstalled();
    EXPECT_FALSE(ended);
    EXPECT_TRUE(prompter.messages.empty());
    presence_check::setEndProgram({});
}

TEST(CheckExcelInstalled, ExplainsAndEndsWhenNoInstanceCanBeCreated) {
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
    ASSERT_EQ(paragraphs.size(), 5);
    EXPECT_EQ(paragraphs[0], "Error 842001. A normal instance of Excel could not be created.");
    EXPECT_TRUE(paragraphs[4].startsWith("4. All versions of Excel are supported"));
}

}  // namespace
}  // namespace tallowby
