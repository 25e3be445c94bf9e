// Preview window: saving the result workbook where the user wants it.

#include "app/guarded.h"
#include "app/program.h"
#include "app/report_locations.h"
#include "preview/preview_window.h"
#include "preview/replacing_copy.h"
#include "preview/save_confirmation.h"
#include "preview/save_folder.h"
#include "preview/save_format.h"
#include "ui/error_report_box.h"
#include "ui/prompter.h"
#include "workbook/automation/application.h"
#include "workbook/automation/result_export.h"
#include "workbook/run/private_temp_folder.h"

namespace tallowby {

void PreviewWindow::onSaveClicked() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kSaveClicked,
              error_report_box::shownOver(this));
    QString target;
    preview::SaveFormat format = preview::SaveFormat::Xls;
    QStringList leftOut;
    bool written = false;

    g.run(106, [&] { saveDialog_.fileName.clear(); });
    g.run(108, [&] { saveDialog_.title = QStringLiteral("Save File"); });
    g.run(110, [&] { saveDialog_.filter = preview::saveDialogFilter(); });
    g.run(112, [&] {
        const Prompter::SaveChoice choice =
            prompter().saveFileChoiceIn(this, saveDialog_.title, saveDialog_.filter,
                                        preview::saveDialogFolder(saveDialog_.initDir));
        saveDialog_.fileName = choice.fileName;
        format = preview::chosenSaveFormat(choice.fileName, choice.filterIndex);
    });
    g.run(114, [&] { target = saveDialog_.fileName; });
    const Prompter::Answer answer = preview::confirmTarget(
        g, this, target, {.chosen = 116, .exists = 118, .ask = 120, .fresh = 126});
    if (g.test(128, [&] { return answer == Prompter::Answer::Yes; })) {
        written = g.run(130, [&] {
            if (format == preview::SaveFormat::Xlsx)
                leftOut = result_export::saveWorkbookCopyAs(
                    resultFile_, target, automation::xlOpenXMLWorkbook, sessionTempFolder().path());
            else
                preview::copyReplacing(resultFile_, target);
        });
    }
    // What the .xlsx format could not hold is said before the file is announced.
    if (written && !leftOut.isEmpty())
        prompter().message(this, program::appTitle(),
                           QStringLiteral("The .xlsx file could not keep everything:\n") +
                               leftOut.join(QLatin1Char('\n')),
                           Prompter::Icon::Warning, Prompter::Buttons::Ok);
    // Only a written file is announced; a failed copy has had its report.
    if (written) {
        saveDialog_.initDir = preview::folderOfSavedFile(target);
        preview::announceDone(g, 132, this);
    }
}

}  // namespace tallowby
