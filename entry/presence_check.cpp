#include "entry/presence_check.h"

#include <cstdlib>

#include "app/application_title.h"
#include "ui/prompter.h"
#include "workbook/run/engine_presence.h"

namespace tallowby::presence_check {

namespace {
std::function<void()>& endProgram() {
    static std::function<void()> end;
    return end;
}
}  // namespace

void checkEngineInstalled() {
    const auto problem = engine_presence::engineProblem();
    if (!problem) return;
    prompter().message(nullptr, applicationTitle(), engine_presence::missingEngineMessage(*problem),
                       Prompter::Icon::None, Prompter::Buttons::Ok);
    if (endProgram())
        endProgram()();
    else
        std::exit(1);  // at once: no window's closing steps run
}

void setEndProgram(std::function<void()> end) {
    endProgram() = std::move(end);
}

}  // namespace tallowby::presence_check
