#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The window program's only options of its own, --help and --version. They are
// answered before any window (or display connection) exists.
namespace tallowby::information_options {

// The text to print and exit with status 0, or nothing when the arguments ask
// for neither (the program then starts as usual; Qt takes its own options).
std::optional<QString> answer(const QStringList& arguments);

QString versionText();
QString helpText();

}  // namespace tallowby::information_options
