#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace tallowby::fill {

// One timesheet for a worker: the file, the outputs' path without extension,
// the formats ("xls,pdf").
struct WorkerRequest {
    QString input;
    QString outputStem;
    QString formats;
};

// What became of it: the single run's exit status (0 done, 1 done with
// notices, 2 failed) and its messages, as that run would have printed them.
struct WorkerOutcome {
    int status = 2;
    QString messages;
};

// Runs requests in worker processes: `program --batch-worker`, at most
// `workers` at a time, each making one timesheet after another in its own
// memory and temp folder, so a crash or a leak stays with the worker and the
// parent holds only the list. A worker is replaced after a number of
// timesheets, keeping memory flat however long the batch; one that dies takes
// only its current timesheet with it (reported as failed) and is replaced.
// `finished` is called in this process, in the order the timesheets finish.
// Throws tallowby::Failure when no worker can be started.
void runInWorkers(const QString& program, int workers, const std::vector<WorkerRequest>& requests,
                  const std::function<void(size_t index, const WorkerOutcome&)>& finished);

// The worker's side: reads requests from `inFd` until it ends, makes each
// with `make`, and writes the outcomes to `outFd`. Returns the exit status
// of the worker process.
int serveRequests(int inFd, int outFd,
                  const std::function<WorkerOutcome(const WorkerRequest&)>& make);

}  // namespace tallowby::fill
