#include "preview/save_confirmation.h"

#include "app/guarded.h"
#include "app/program.h"

namespace tallowby::preview {

Prompter::Answer confirmTarget(Guarded& g, QWidget* parent, const QString& target,
                               const OverwriteStatements& lines) {
    Prompter::Answer answer = Prompter::Answer::No;
    if (g.test(lines.chosen, [&] { return !target.isEmpty(); })) {
        if (g.test(lines.exists, [&] { return program::fileExists(target); })) {
            g.run(lines.ask, [&] {
                answer = prompter().message(parent, program::appTitle(),
                                            QStringLiteral("Are you sure you wish to overwrite ") +
                                                target + QStringLiteral(" ?"),
                                            Prompter::Icon::None, Prompter::Buttons::YesNo);
            });
        } else {
            g.run(lines.fresh, [&] { answer = Prompter::Answer::Yes; });
        }
    }
    return answer;
}

void announceDone(Guarded& g, int line, QWidget* parent) {
    g.run(line, [&] {
        prompter().message(parent, program::appTitle(), QStringLiteral("Done."),
                           Prompter::Icon::None, Prompter::Buttons::Ok);
    });
}

}  // namespace tallowby::preview
