#include "ui/desktop.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "app/application_title.h"
#include "app/build_config.h"
#include "tests/support/qt_application.h"
#include "tests/support/scripted_prompter.h"

namespace tallowby {
namespace {

TEST(MaybeOpenHomePage, OnlyTheDrawOfSevenOpensTheHomePage) {
    testing::ScriptedPrompter prompter;
    QStringList launched;
    for (int n = 1; n <= 100; ++n)
        desktop::maybeOpenHomePage({[n] { return n; }, [&](const QString& a) { launched << a; }});
    ASSERT_EQ(launched.size(), 1);
    EXPECT_EQ(launched[0], QString::fromUtf8(build::kHomePage));
    EXPECT_TRUE(launched[0].endsWith('/'));
    EXPECT_TRUE(prompter.openedUrls.empty());
}

TEST(MaybeOpenHomePage, DefaultLauncherGoesThroughThePrompter) {
    testing::ScriptedPrompter prompter;
    desktop::maybeOpenHomePage({[] { return 7; }, nullptr});
    ASSERT_EQ(prompter.openedUrls.size(), 1u);
    EXPECT_EQ(prompter.openedUrls[0].toString(), QString::fromUtf8(build::kHomePage));
}

TEST(MaybeOpenHomePage, TurnedOffByTheSettingOrTheEnvironmentNeverOpens) {
    testing::ScriptedPrompter prompter;
    QStringList launched;
    desktop::HomePageHooks hooks{[] { return 7; }, [&](const QString& a) { launched << a; }, true};
    desktop::maybeOpenHomePage(hooks);
    EXPECT_TRUE(launched.isEmpty());

    qunsetenv(desktop::kNoHomePageVariable);
    EXPECT_FALSE(desktop::homePageTurnedOff(QString()));
    EXPECT_FALSE(desktop::homePageTurnedOff(QStringLiteral("0")));
    EXPECT_TRUE(desktop::homePageTurnedOff(QStringLiteral("1")));
    EXPECT_TRUE(desktop::homePageTurnedOff(QStringLiteral(" 1 ")));
    qputenv(desktop::kNoHomePageVariable, "0");
    EXPECT_FALSE(desktop::homePageTurnedOff(QString()));
    qputenv(desktop::kNoHomePageVariable, "1");
    EXPECT_TRUE(desktop::homePageTurnedOff(QString()));
    qputenv(desktop::kNoHomePageVariable, "");
    EXPECT_FALSE(desktop::homePageTurnedOff(QString()));
    qunsetenv(desktop::kNoHomePageVariable);
}

TEST(UsePlainColours, FramesLabelsAndCheckBoxesButNotFields) {
    testing::qtApplication();
    QWidget window;
    auto* frame = new QGroupBox(&window);
    auto* label = new QLabel(frame);
    auto* check = new QCheckBox(&window);
    auto* edit = new QLineEdit(&window);
    QPalette white = edit->palette();
    white.setColor(QPalette::Window, Qt::white);
    edit->setPalette(white);
    window.setPalette(white);
    desktop::usePlainColours(&window);
    const QColor face = window.palette().color(QPalette::Button);
    EXPECT_EQ(window.palette().color(QPalette::Window), face);
    EXPECT_EQ(frame->palette().color(QPalette::Window), face);
    EXPECT_EQ(label->palette().color(QPalette::Window), face);
    EXPECT_EQ(check->palette().color(QPalette::Window), face);
    EXPECT_EQ(edit->palette().color(QPalette::Window), QColor(Qt::white));
    desktop::usePlainColours(nullptr);
}

TEST(WarnUser, AWarningBoxWithTheApplicationTitleAndOkOnly) {
    testing::ScriptedPrompter prompter;
    setApplicationTitle();
    desktop::warnUser(QStringLiteral("The settings file is damaged."));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, QStringLiteral("Tallowby"));
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("The settings file is damaged."));
    EXPECT_EQ(prompter.messages[0].icon, Prompter::Icon::Warning);
    EXPECT_EQ(prompter.messages[0].buttons, Prompter::Buttons::Ok);
}

}  // namespace
}  // namespace tallowby
