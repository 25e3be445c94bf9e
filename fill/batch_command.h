#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "fill/batch_runner.h"
#include "fill/fill_command.h"

namespace tallowby::fill {

// What a batch did: its exit status (0 every timesheet made, 1 all made but
// some with notices, 2 some failed or an input was missing) and the
// timesheet files whose outputs were written, in sorted order.
struct BatchResult {
    int exitStatus = 0;
    QStringList made;
};

// `tallowby-fill --batch`: finds the timesheet files among the inputs, names
// their outputs over the whole sorted list, takes the shard's share and makes
// it in worker processes of `program`, printing each timesheet's messages
// under its file's name and, when `progressShown`, a progress line.
BatchResult runBatch(const FillOptions& options, const QString& program, QTextStream& err,
                     bool progressShown);

// `tallowby-fill --batch-worker`: a worker process of a batch, serving
// requests on standard input and answering on standard output.
int serveBatch();

// One timesheet's messages as the batch prints them: a line naming the file,
// then the messages indented under it.
QString jobReport(const QString& input, const QString& messages);

}  // namespace tallowby::fill
