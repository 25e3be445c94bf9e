#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tallowby::desktop {

// Gives a window the plain system button-face background, and the same to its
// frames, labels, check boxes and option buttons.
void usePlainColours(QWidget* window);

// About one start in a hundred opens the maker's home page. The draw and the
// launcher are injectable so tests never open a browser.
// The user can turn it off (see homePageTurnedOff); then nothing is drawn.
struct HomePageHooks {
    std::function<int()> draw;                   // 1..100; default: seeded from the time of day
    std::function<void(const QString&)> launch;  // default: the prompter's openUrl
    bool turnedOff = false;
};
void maybeOpenHomePage(const HomePageHooks& hooks = {});

// True when the user turned the home page off: the environment variable
// TALLOWBY_NO_HOME_PAGE holds anything but nothing or "0", or the stored
// setting (the store's NoHomePage value) is "1".
inline constexpr char kNoHomePageVariable[] = "TALLOWBY_NO_HOME_PAGE";
bool homePageTurnedOff(const QString& storedSetting);

// Tells the user something in a warning box with the application's title and
// OK only, through the prompter.
void warnUser(const QString& text, QWidget* parent = nullptr);

}  // namespace tallowby::desktop
