#pragma once

// Runs the built tallowby-fill (and the tools that read what it wrote) as a
// user's script would, with its own environment: the locale the child runs
// under is always stated, never inherited from the test runner.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <utility>

#include "tests/support/file_bytes.h"
#include "tests/support/test_paths.h"

namespace tallowby::testing {

struct FillOutcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// The child's environment: the runner's, with the locale stated and
// `extra` ("NAME=value") added.
inline QProcessEnvironment childEnvironment(const QString& locale, const QStringList& extra = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const char* name : {"LANG", "LANGUAGE", "LC_NUMERIC", "LC_TIME", "LC_MONETARY"})
        env.remove(name);
    env.insert("LC_ALL", locale);
    for (const QString& item : extra) env.insert(item.section('=', 0, 0), item.section('=', 1));
    return env;
}

inline FillOutcome runProgram(const QString& program, const QStringList& arguments,
                              const QString& locale = QStringLiteral("C.UTF-8"),
                              const QStringList& extraEnvironment = {}) {
    QProcess process;
    process.setProcessEnvironment(childEnvironment(locale, extraEnvironment));
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

inline FillOutcome runFill(const QStringList& arguments,
                           const QString& locale = QStringLiteral("C.UTF-8"),
                           const QStringList& extraEnvironment = {}) {
    return runProgram(QString::fromUtf8(test_paths::kFillTool), arguments, locale,
                      extraEnvironment);
}

// A two-rate week, the settings file most runs of tallowby-fill read.
inline constexpr char kTwoRateWeek[] =
    "[Tallowby]\n"
    "txtName=Tallowby Test, Inc\n"
    "dtpDate=2021-08-30\n"
    "Rates=Regular^11.50|Overtime^12.70\n"
    "Hours=Mon^Regular^02:00^0^0|Tue^Overtime^01:30^1^1\n";

// A folder of the test's own with a settings file of `week` in it.
class FillWeekTest : public ::testing::Test {
  protected:
    explicit FillWeekTest(QByteArray week) : week_(std::move(week)) {}
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        settings = dir.filePath("timesheet.ini");
        ASSERT_TRUE(writeFile(settings, week_));
    }

    QTemporaryDir dir;
    QString settings;

  private:
    QByteArray week_;
};

}  // namespace tallowby::testing
