// Preview window: saving the result workbook where the user wants it.

#include <QFileInfo>

#include "app/application_title.h"
#include "app/guarded.h"
#include "app/report_locations.h"
#include "preview/pdf_export_command.h"
#include "preview/preview_window.h"
#include "preview/replacing_copy.h"
#include "preview/save_confirmation.h"
#include "preview/save_format.h"
#include "ui/error_report_box.h"
#include "ui/prompter.h"
#include "workbook/automation/application.h"
#include "workbook/automation/result_export.h"
#include "workbook/run/private_temp_folder.h"

namespace tallowby::preview {

void PreviewWindow::onSaveClicked() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kSaveClicked,
              error_report_box::shownOver(this));
    QString target;
    SaveFormat format = SaveFormat::Xls;
    QStringList leftOut;
    bool written = false;

    g.run(106, [&] { saveDialog_.fileName.clear(); });
    g.run(108, [&] { saveDialog_.title = QStringLiteral("Save File"); });
    g.run(110, [&] { saveDialog_.filters = workbookSaveFilters(); });
    g.run(112, [&] {
        SaveRequest request;
        request.title = saveDialog_.title;
        request.filters = saveDialog_.filters;
        request.folder = saveFolder_.start();
        // The name the PDF export suggests, as a workbook.
        request.suggestedName = withExtension(
            QFileInfo(suggestedPdfPath(resultFile_, pdfFolder_)).fileName(), QStringLiteral("xls"));
        // Asked while the dialog is open: "No" goes back to it.
        request.confirmOverwrite = [](QWidget* dialog, const QString& existing) {
            return askOverwrite(dialog, existing) == Prompter::Answer::Yes;
        };
        saveDialog_.fileName = prompter().saveFile(this, request);
        // The dialog gives the name with its type's extension, which decides.
        format = chosenSaveFormat(saveDialog_.fileName, 0);
    });
    g.run(114, [&] { target = saveDialog_.fileName; });
    if (g.test(128, [&] { return !target.isEmpty(); })) {
        written = g.run(130, [&] {
            if (format == SaveFormat::Xlsx)
                leftOut = automation::saveWorkbookCopyAs(
                    resultFile_, target, automation::kXlsxFormat, sessionTempFolder().path());
            else
                copyReplacing(resultFile_, target);
        });
    }
    // What the .xlsx format could not hold is said before the file is announced.
    if (written && !leftOut.isEmpty())
        prompter().message(this, applicationTitle(),
                           QStringLiteral("The .xlsx file could not keep everything:\n") +
                               leftOut.join(QLatin1Char('\n')),
                           Prompter::Icon::Warning, Prompter::Buttons::Ok);
    // Only a written file is announced; a failed copy has had its report.
    if (written) {
        saveFolder_.rememberFolderOf(target);
        announceDone(g, 132, this, target);
    }
}

}  // namespace tallowby::preview
