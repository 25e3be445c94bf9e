#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tallowby::program {

// Gives a window the plain system button-face background, and the same to its
// frames, labels, check boxes and option buttons.
void usePlainColours(QWidget* window);

// About one start in a hundred opens the maker's home page. The draw and the
// launcher are injectable so tests never open a browser.
struct HomePageHooks {
    std::function<int()> draw;                   // 1..100; default: seeded from the time of day
    std::function<void(const QString&)> launch;  // default: the prompter's openUrl
};
void maybeOpenHomePage(const HomePageHooks& hooks = {});

// Tells the user something in a warning box with the application's title and
// OK only, through the prompter.
void warnUser(const QString& text, QWidget* parent = nullptr);

}  // namespace tallowby::program
