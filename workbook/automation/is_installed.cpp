#include "workbook/automation/is_installed.h"

namespace tallowby::IsInstalled {

// The engine is linked into the program; its start-up check arrives with it.
QString missingEngineMessage() {
    return QString();
}
void CheckExcelInstalled() {}
void setEndProgram(std::function<void()>) {}

}  // namespace tallowby::IsInstalled
