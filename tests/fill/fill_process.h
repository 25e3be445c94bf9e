#pragma once

// Runs the built tallowby-fill as a user's script would, with its own
// environment: the locale the child runs under is always stated, never
// inherited from the test runner.
#include <QProcess>
#include <QString>
#include <QStringList>

#include "tests/support/test_paths.h"

namespace tallowby::testing {

struct FillOutcome {
    int exitCode = -1;
    QString out;
    QString err;
};

inline FillOutcome runFill(const QStringList& arguments,
                           const QString& locale = QStringLiteral("C.UTF-8")) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const char* name : {"LANG", "LANGUAGE", "LC_NUMERIC", "LC_TIME", "LC_MONETARY"})
        env.remove(name);
    env.insert("LC_ALL", locale);
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(test_paths::kFillTool), arguments);
    if (!process.waitForFinished(60000)) return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace tallowby::testing
