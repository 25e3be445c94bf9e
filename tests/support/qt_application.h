#pragma once

#include <QApplication>

namespace tallowby::testing {

// Widgets need an application object; GoogleTest's main does not make one.
inline QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "tallowby-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace tallowby::testing
