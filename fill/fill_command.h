#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <vector>

#include "fill/batch_plan.h"

namespace tallowby::fill {

struct FillOptions {
    QString xlsPath;
    QString xlsxPath;      // empty: no .xlsx workbook
    QString picturePath;   // empty: no picture
    QString pdfPath;       // empty: no PDF
    QString settingsPath;  // empty: the user's own settings store
    QString importPath;    // a tracker's CSV export whose rows join the hours for this run
    QString dateColumn, hoursColumn, startColumn, endColumn, typeColumn;  // empty: by header
    QString unknownType;  // the rate for rows of types no rate is named after; empty: left out
    // --batch: timesheet files and folders of them, each made into outputs
    // named after its employee and week in `outDir`.
    bool batch = false;
    QStringList inputs;
    QString outDir;                     // empty: the current folder
    std::vector<OutputFormat> formats;  // xls when none is named
    int jobs = 0;                       // worker processes; 0: one per CPU
    Shard shard;                        // the part of the sorted inputs to make
    bool batchWorker = false;           // a worker process of a batch (not for users)
    // Only a timesheet file will do: one that cannot be read, is no INI text
    // or has no [Tallowby] section fails instead of giving the defaults.
    bool timesheetFileRequired = false;
    QString summaryPath;       // --summary: the payroll summary workbook to write
    bool summaryOnly = false;  // --summary-only: from timesheet files, making no timesheets
    bool help = false;
    bool version = false;
};

// The options, or a message saying what is wrong with the arguments.
struct ParsedArguments {
    std::optional<FillOptions> options;
    QString error;
};
ParsedArguments parseArguments(const QStringList& arguments);

QString usage();
QString versionText();

// Runs the generation from the settings and writes the outputs. Returns the
// process exit code: 0 done, 1 the run reported failures, 2 bad input (an
// import that cannot be read or imports nothing among it) or an output that
// cannot be written. Messages go to `err`.
int run(const FillOptions& options, QTextStream& err);

}  // namespace tallowby::fill
