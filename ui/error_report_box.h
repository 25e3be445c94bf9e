#pragma once

#include <QString>

#include "app/guarded.h"

class QWidget;

namespace tallowby::error_report_box {

// Shows the report (warning icon, OK only) through the prompter and returns
// when the user has pressed OK.
void show(const QString& description, const QString& module, const QString& procedure, int line,
          QWidget* parent = nullptr);
void show(const StatementFailure& failure, QWidget* parent = nullptr);

// A sink that shows each failure over `parent` the moment it is reported.
FailureSink shownOver(QWidget* parent);

}  // namespace tallowby::error_report_box
