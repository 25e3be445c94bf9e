#pragma once

#include <QGuiApplication>
#include <string>

#include "tests/test_paths.h"
#include "workbook/engine/biff/workbook_io.h"

namespace tallowby::bench {

// The timesheet template as read from the source tree.
inline const engine::Workbook& templateWorkbook() {
    static const engine::Workbook workbook = engine::readWorkbookFile(test_paths::kTemplateFile);
    return workbook;
}

// Drawing needs a QGuiApplication; the benchmark library owns main().
inline void ensureGuiApplication() {
    if (qGuiApp) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tallowby_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

}  // namespace tallowby::bench
