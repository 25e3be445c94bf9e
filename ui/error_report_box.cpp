#include "ui/error_report_box.h"

#include "app/error_report.h"
#include "ui/prompter.h"

namespace tallowby::error_report_box {

void show(const QString& description, const QString& module, const QString& procedure, int line,
          QWidget* parent) {
    prompter().message(parent, QString::fromLatin1(error_report::kCaption),
                       error_report::text(description, module, procedure, line),
                       Prompter::Icon::Warning, Prompter::Buttons::Ok);
}

void show(const StatementFailure& failure, QWidget* parent) {
    show(failure.description, failure.module, failure.procedure, failure.line, parent);
}

FailureSink shownOver(QWidget* parent) {
    return [parent](const StatementFailure& failure) { show(failure, parent); };
}

}  // namespace tallowby::error_report_box
