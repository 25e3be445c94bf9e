#pragma once

#include <QString>

#include "app/guarded.h"

namespace tallowby {

// The text of the one error report through which every guarded procedure
// reports a failure (the windows show it with ui/error_report_box.h).
namespace error_report {

inline constexpr const char* kCaption = "Application Error";

// "in Tallowby2021/08/31.<module>.<procedure> " (ends in one blank).
QString locationText(const QString& module, const QString& procedure);

// The whole text: description, CR LF, location, "at line ", number, CR CR,
// then the support line.
QString text(const QString& description, const QString& module, const QString& procedure, int line);

QString text(const StatementFailure& failure);

}  // namespace error_report
}  // namespace tallowby
