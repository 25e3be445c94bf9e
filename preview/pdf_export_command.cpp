#include "preview/pdf_export_command.h"

#include <QDir>
#include <QLocale>

#include "app/atomic_file.h"
#include "app/guarded.h"
#include "app/report_locations.h"
#include "preview/save_confirmation.h"
#include "timesheet/timesheet_pdf.h"
#include "ui/error_report_box.h"
#include "ui/prompter.h"

namespace tallowby::preview {

QString suggestedPdfPath(const QString& workbookFile, const RememberedFolder& folder) {
    QString name = QStringLiteral("Timesheet.pdf");
    try {
        name = suggestedPdfFileName(timesheetIdentity(automation::PrintedWorkbook(workbookFile)));
    } catch (const std::exception&) {
        // A workbook that cannot be read still gets a name; the export reports it.
    }
    return QDir(folder.start()).filePath(name);
}

void exportPdf(QWidget* parent, const QString& workbookFile, RememberedFolder& folder) {
    Guarded g(report_locations::kPreviewWindow, report_locations::kExportPdfClicked,
              error_report_box::shownOver(parent));
    QString suggested, target;
    QByteArray pdf;
    bool written = false;

    g.run(100, [&] { suggested = suggestedPdfPath(workbookFile, folder); });
    g.run(102, [&] {
        target = prompter().saveFileNameSuggesting(parent, QStringLiteral("Export as PDF"),
                                                   QStringLiteral("PDF Files (*.pdf)|*.pdf|"),
                                                   suggested);
    });
    const Prompter::Answer answer =
        confirmTarget(g, parent, target, {.chosen = 104, .exists = 106, .ask = 108, .fresh = 110});
    if (g.test(112, [&] { return answer == Prompter::Answer::Yes; })) {
        if (g.run(114, [&] { pdf = timesheetPdf(workbookFile, QLocale()); }))
            written = g.run(116, [&] { writeFileAtomically(target, pdf); });
    }
    if (written) {
        folder.rememberFolderOf(target);
        announceDone(g, 118, parent);
    }
}

}  // namespace tallowby::preview
