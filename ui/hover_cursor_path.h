#pragma once

#include <QString>

namespace tallowby {

// Where the hover cursor file HAND-M.CUR is looked for: the program folder
// first (a build tree or a copied folder), then ../share/tallowby beside it
// (an installed program, which keeps its data out of bin/). When neither
// holds the file, the program folder's path, so the caller's existence test
// says no.
QString hoverCursorPath(const QString& programFolder);

}  // namespace tallowby
