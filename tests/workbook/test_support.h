#pragma once

#include <QList>

#include "tests/app/scripted_prompter.h"

namespace tallowby::testing {

// The statement numbers the error reports quoted, in order.
inline QList<int> reportedLines(const ScriptedPrompter& prompter) {
    QList<int> lines;
    for (const auto& m : prompter.messages) {
        const qsizetype at = m.text.indexOf(QStringLiteral("at line "));
        if (at >= 0)
            lines << m.text.mid(at + 8, m.text.indexOf(QLatin1Char('\r'), at) - at - 8).toInt();
    }
    return lines;
}

inline QStringList reportTexts(const ScriptedPrompter& prompter) {
    QStringList texts;
    for (const auto& m : prompter.messages) texts << m.text;
    return texts;
}

}  // namespace tallowby::testing
