#include "ui/desktop.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRandomGenerator>
#include <QTime>
#include <QUrl>
#include <QWidget>

#include "app/application_title.h"
#include "app/build_config.h"
#include "ui/prompter.h"

namespace tallowby::desktop {

void usePlainColours(QWidget* window) {
    if (!window) return;
    auto paint = [](QWidget* w) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::Button));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    };
    paint(window);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        const bool plain =
            qobject_cast<QGroupBox*>(child) || qobject_cast<QLabel*>(child) ||
            (qobject_cast<QAbstractButton*>(child) && child->inherits("QCheckBox")) ||
            child->inherits("QRadioButton");
        if (plain) paint(child);
    }
}

bool homePageTurnedOff(const QString& storedSetting) {
    const QByteArray variable = qgetenv(kNoHomePageVariable);
    if (!variable.isEmpty() && variable != "0") return true;
    return storedSetting.trimmed() == QLatin1String("1");
}

void maybeOpenHomePage(const HomePageHooks& hooks) {
    if (hooks.turnedOff) return;
    const int number = hooks.draw ? hooks.draw() : [] {
        QRandomGenerator generator(
            static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay()));
        return static_cast<int>(generator.generateDouble() * 100) + 1;
    }();
    if (number != 7) return;
    const QString address = QString::fromUtf8(build::kHomePage);
    if (hooks.launch)
        hooks.launch(address);
    else
        prompter().openUrl(QUrl(address));
}

void warnUser(const QString& text, QWidget* parent) {
    prompter().message(parent, applicationTitle(), text, Prompter::Icon::Warning,
                       Prompter::Buttons::Ok);
}

}  // namespace tallowby::desktop
