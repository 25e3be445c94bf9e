#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace tallowby {

// The small file and desktop helpers every window leans on.
namespace program {

// True when the file's last-modified time can be read; a folder counts too.
bool fileExists(const QString& path);

// Lets pending window events run once, then deletes the file; when that
// fails, makes it writable and tries again. Never reports.
void removeFile(const QString& path);

// Writes exactly these bytes to the path, creating or truncating the file.
// Throws tallowby::Failure with a description when the write fails.
void writeBinaryFile(const QByteArray& bytes, const QString& path);

// The application title: the product name cut at its last blank while it is
// longer than 40 characters. SetAppTitle stores it for AppTitle().
QString appTitleFrom(const QString& productName);
void setAppTitle();
QString appTitle();

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

}  // namespace program
}  // namespace tallowby
