#include "workbook/automation/presence_check.h"

#include <QStringList>
#include <cstdlib>
#include <span>

#include "app/program.h"
#include "app/prompter.h"
#include "workbook/automation/application.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/run/template_resource.h"

namespace tallowby::presence_check {

namespace {
std::function<void()>& endProgram() {
    static std::function<void()> end;
    return end;
}

bool enginePresent() {
    try {
        auto app = automation::CreateApplication();
        if (!app) return false;
        const QByteArray bytes = templateBytes();
        engine::readWorkbook(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                     static_cast<size_t>(bytes.size())));
        return true;
    } catch (...) {
        return false;
    }
}
}  // namespace

QString missingEngineMessage() {
    const QStringList paragraphs = {
        QStringLiteral("Error 842001. A normal instance of Excel could not be created."),
        QStringLiteral("1. Please make sure Excel is installed on this computer."),
        QStringLiteral("2. Please open Excel normally and make sure a blank spreadsheet opens "
                       "immediately without any interrupting window (such as an Excel file "
                       "recovery window)."),
        QStringLiteral("3. Please make sure that when you double-click on a XLS or XLSX file that "
                       "Excel opens normally without any interrupting messages."),
        QStringLiteral("4. All versions of Excel are supported by this software except for the "
                       "rare Excel Starter and Student editions."),
    };
    return paragraphs.join(QStringLiteral("\r\n\r\n"));
}

void checkEngineInstalled() {
    if (enginePresent()) return;
    prompter().message(nullptr, program::appTitle(), missingEngineMessage(), Prompter::Icon::None,
                       Prompter::Buttons::Ok);
    if (endProgram())
        endProgram()();
    else
        std::exit(1);  // at once: no window's closing steps run
}

void setEndProgram(std::function<void()> end) {
    endProgram() = std::move(end);
}

}  // namespace tallowby::presence_check
