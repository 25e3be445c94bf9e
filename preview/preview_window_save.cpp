// Form2: saving the result workbook where the user wants it.

#include "app/guarded.h"
#include "app/program.h"
#include "app/report_locations.h"
#include "preview/preview_window.h"
#include "preview/replacing_copy.h"
#include "preview/save_folder.h"
#include "ui/error_report_box.h"
#include "ui/prompter.h"

namespace tallowby {

void PreviewWindow::onSaveClicked() {
    Guarded g(report_locations::kPreviewWindow, report_locations::kSaveClicked,
              error_report::shownOver(this));
    QString target;
    Prompter::Answer answer = Prompter::Answer::No;
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
    if (g.test(116, [&] { return !target.isEmpty(); })) {
        if (g.test(118, [&] { return program::fileExists(target); })) {
            g.run(120, [&] {
                answer = prompter().message(this, program::appTitle(),
                                            QStringLiteral("Are you sure you wish to overwrite ") +
                                                target + QStringLiteral(" ?"),
                                            Prompter::Icon::None, Prompter::Buttons::YesNo);
            });
            // The existing file is not removed here: the copy replaces it
            // only once the new bytes are complete, so a failed copy keeps it.
        } else {
            g.run(126, [&] { answer = Prompter::Answer::Yes; });
        }
    }
    if (g.test(128, [&] { return answer == Prompter::Answer::Yes; })) {
        written = g.run(130, [&] { preview::copyReplacing(resultFile_, target); });
    }
    // Only a written file is announced; a failed copy has had its report.
    if (written) {
        saveDialog_.initDir = preview::folderOfSavedFile(target);
        g.run(132, [&] {
            prompter().message(this, program::appTitle(), QStringLiteral("Done."),
                               Prompter::Icon::None, Prompter::Buttons::Ok);
        });
    }
}

}  // namespace tallowby
