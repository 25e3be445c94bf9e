#pragma once

#include <QList>
#include <QStringList>
#include <vector>

#include "app/error_report.h"
#include "app/guarded.h"

namespace tallowby::testing {

// The statement numbers of a run's failures, in order.
inline QList<int> linesOf(const std::vector<StatementFailure>& failures) {
    QList<int> lines;
    for (const StatementFailure& f : failures) lines << f.line;
    return lines;
}

// The error reports' whole texts, as the window would show them.
inline QStringList textsOf(const std::vector<StatementFailure>& failures) {
    QStringList texts;
    for (const StatementFailure& f : failures) texts << error_report::text(f);
    return texts;
}

}  // namespace tallowby::testing
