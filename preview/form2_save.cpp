// Form2: saving the result workbook where the user wants it.

#include "app/guarded.h"
#include "app/main_module.h"
#include "app/prompter.h"
#include "preview/form2.h"
#include "preview/replacing_copy.h"
#include "preview/save_folder.h"

namespace tallowby {

void Form2::PushButton6_Click() {
    Guarded g(QStringLiteral("Form2"), QStringLiteral("PushButton6_Click"), this);
    QString target;
    Prompter::Answer answer = Prompter::Answer::No;
    bool written = false;

    g.run(106, [&] { CommonDialog1.fileName.clear(); });
    g.run(108, [&] { CommonDialog1.title = QStringLiteral("Save File"); });
    g.run(110, [&] { CommonDialog1.filter = QStringLiteral("Excel Files (*.xls)|*.xls|"); });
    g.run(112, [&] {
        CommonDialog1.fileName =
            prompter().saveFileNameIn(this, CommonDialog1.title, CommonDialog1.filter,
                                      preview::saveDialogFolder(CommonDialog1.initDir));
    });
    g.run(114, [&] { target = CommonDialog1.fileName; });
    if (g.test(116, [&] { return !target.isEmpty(); })) {
        if (g.test(118, [&] { return Main::FileExists(target); })) {
            g.run(120, [&] {
                answer = prompter().message(this, Main::AppTitle(),
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
        written = g.run(130, [&] { preview::copyReplacing(mExcelFile, target); });
    }
    // Only a written file is announced; a failed copy has had its report.
    if (written) {
        CommonDialog1.initDir = preview::folderOfSavedFile(target);
        g.run(132, [&] {
            prompter().message(this, Main::AppTitle(), QStringLiteral("Done."),
                               Prompter::Icon::None, Prompter::Buttons::Ok);
        });
    }
}

}  // namespace tallowby
