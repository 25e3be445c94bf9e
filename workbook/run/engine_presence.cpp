#include "workbook/run/engine_presence.h"

#include <QStringList>
#include <span>

#include "workbook/automation/application.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/run/template_resource.h"

namespace tallowby::engine_presence {

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

}  // namespace tallowby::engine_presence
