#pragma once

#include <QString>

class QWidget;

namespace tallowby {

// The one message box through which every guarded procedure reports a failure.
namespace error_report {

inline constexpr const char* kCaption = "Application Error";

// "in Tallowby2021/08/31.<module>.<procedure> " (ends in one blank).
QString locationText(const QString& module, const QString& procedure);

// The whole text: description, CR LF, location, "at line ", number, CR CR,
// then the support line.
QString text(const QString& description, const QString& module, const QString& procedure, int line);

// Shows the report (warning icon, OK only) through the prompter and returns
// when the user has pressed OK.
void show(const QString& description, const QString& module, const QString& procedure, int line,
          QWidget* parent = nullptr);

}  // namespace error_report
}  // namespace tallowby
