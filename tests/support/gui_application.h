#pragma once

#include <QGuiApplication>

namespace tallowby::testing {

// Drawing needs a QGuiApplication (offscreen unless a platform is chosen)
// where no main of ours makes one, as in the benchmark program.
inline void ensureGuiApplication() {
    if (qGuiApp) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tallowby";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

}  // namespace tallowby::testing
