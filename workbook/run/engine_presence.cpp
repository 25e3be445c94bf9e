#include "workbook/run/engine_presence.h"

#include <QStringList>
#include <exception>
#include <span>

#include "workbook/automation/application.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/run/template_resource.h"

namespace tallowby::engine_presence {

namespace {
QString describe(const std::exception& e) {
    return QString::fromUtf8(e.what());
}
}  // namespace

std::optional<QString> engineProblem() {
    try {
        if (!automation::CreateApplication())
            return QStringLiteral("The spreadsheet engine could not be started.");
    } catch (const std::exception& e) {
        return QStringLiteral("The spreadsheet engine could not be started: %1").arg(describe(e));
    }
    try {
        const QByteArray bytes = templateBytes();
        engine::readWorkbook(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                     static_cast<size_t>(bytes.size())));
    } catch (const std::exception& e) {
        return QStringLiteral("The timesheet template %1 could not be read: %2")
            .arg(QLatin1String(kTemplateResource), describe(e));
    } catch (...) {
        return QStringLiteral("The timesheet template %1 could not be read.")
            .arg(QLatin1String(kTemplateResource));
    }
    return std::nullopt;
}

QString missingEngineMessage(const QString& problem) {
    const QStringList paragraphs = {
        QStringLiteral("Error 842001. The timesheet template or the spreadsheet engine built "
                       "into Tallowby could not be used."),
        QStringLiteral("Checked at start-up: that the engine starts and reads the template "
                       "carried inside the program (%1). %2")
            .arg(QLatin1String(kTemplateResource), problem),
        QStringLiteral("Tallowby needs no other spreadsheet program. The program file itself "
                       "is damaged or incomplete: reinstall the tallowby package (for example "
                       "\"sudo apt install --reinstall tallowby\") and start it again."),
    };
    return paragraphs.join(QStringLiteral("\r\n\r\n"));
}

}  // namespace tallowby::engine_presence
