// Preview window: saving the result workbook where the user wants it.

#include "app/guarded.h"
#include "app/program.h"
#include "app/report_locations.h"
#include "preview/preview_window.h"
#include "preview/replacing_copy.h"
#include "preview/save_confirmation.h"
#include "preview/save_folder.h"
#include "ui/error_report_box.h"
#include "ui/prompter.h"

namespace tallowby {

void PreviewWindow::onSaveClicked() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kSaveClicked,
              error_report_box::shownOver(this));
    QString target;
    bool written = false;

    g.run(106, [&] { saveDialog_.fileName.clear(); });
    g.run(108, [&] { saveDialog_.title = QStringLiteral("Save File"); });
    g.run(110, [&] { saveDialog_.filter = QStringLiteral("Excel Files (*.xls)|*.xls|"); });
    g.run(112, [&] {
        saveDialog_.fileName =
            prompter().saveFileNameIn(this, saveDialog_.title, saveDialog_.filter,
                                      preview::saveDialogFolder(saveDialog_.initDir));
    });
    g.run(114, [&] { target = saveDialog_.fileName; });
    const Prompter::Answer answer = preview::confirmTarget(
        g, this, target, {.chosen = 116, .exists = 118, .ask = 120, .fresh = 126});
    if (g.test(128, [&] { return answer == Prompter::Answer::Yes; })) {
        written = g.run(130, [&] { preview::copyReplacing(resultFile_, target); });
    }
    // Only a written file is announced; a failed copy has had its report.
    if (written) {
        saveDialog_.initDir = preview::folderOfSavedFile(target);
        preview::announceDone(g, 132, this);
    }
}

}  // namespace tallowby
