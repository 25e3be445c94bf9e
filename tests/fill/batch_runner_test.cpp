// The batch's worker processes, with a scripted worker that speaks the
// protocol: every timesheet finished once, workers replaced after their
// share or when they die, and nothing hangs on a worker that will not work.
#include "fill/batch_runner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "app/failure.h"
#include "tests/support/file_bytes.h"

namespace {

using tallowby::fill::runInWorkers;
using tallowby::fill::WorkerOutcome;
using tallowby::fill::WorkerRequest;

// Answers "made NAME by PID"; status 1 for names with "notice"; killed by
// SIGKILL on names with "crash", as a worker that meets a fatal bug would be.
constexpr char kScriptedWorker[] = R"(#!/usr/bin/python3
import os, signal, sys
stdin, stdout = sys.stdin.buffer, sys.stdout.buffer
def field():
    length = b''
    while True:
        c = stdin.read(1)
        if not c:
            sys.exit(0)
        if c == b':':
            break
        length += c
    data = stdin.read(int(length))
    stdin.read(1)
    return data
def net(b):
    return str(len(b)).encode() + b':' + b + b','
while True:
    name = field().decode()
    stem, formats = field(), field()
    if 'crash' in name:
        os.kill(os.getpid(), signal.SIGKILL)
    status = b'1' if 'notice' in name else b'0'
    stdout.write(net(status) + net(('made %s by %d\n' % (name, os.getpid())).encode()))
    stdout.flush()
)";

class BatchRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        worker = dir.filePath("worker.py");
        ASSERT_TRUE(tallowby::testing::writeFile(worker, kScriptedWorker));
        ASSERT_TRUE(QFile::setPermissions(worker, QFile::ReadOwner | QFile::ExeOwner));
    }
    QTemporaryDir dir;
    QString worker;
};

TEST_F(BatchRunnerTest, EveryTimesheetFinishesOnceWhileWorkersComeAndGo) {
    std::vector<WorkerRequest> requests;
    for (int i = 0; i < 450; ++i) {
        const QString kind = i == 17 || i == 300 ? "crash" : i % 50 == 0 ? "notice" : "plain";
        requests.push_back({QStringLiteral("%1-%2.ini").arg(kind).arg(i), "stem", "xls"});
    }
    std::map<size_t, WorkerOutcome> outcomes;
    std::map<QString, int> servedBy;
    runInWorkers(worker, 3, requests, [&](size_t index, const WorkerOutcome& outcome) {
        EXPECT_FALSE(outcomes.count(index)) << index;
        outcomes[index] = outcome;
        if (outcome.status != 2) ++servedBy[outcome.messages.section(" by ", 1).trimmed()];
    });
    ASSERT_EQ(outcomes.size(), requests.size());
    for (size_t i = 0; i < requests.size(); ++i) {
        const WorkerOutcome& o = outcomes[i];
        if (requests[i].input.startsWith("crash")) {
            EXPECT_EQ(o.status, 2);
            EXPECT_TRUE(o.messages.contains("killed by signal 9")) << o.messages.toStdString();
            continue;
        }
        EXPECT_EQ(o.status, requests[i].input.startsWith("notice") ? 1 : 0);
        EXPECT_TRUE(o.messages.startsWith("made " + requests[i].input)) << o.messages.toStdString();
    }
    // No worker lives on past its share, so none grows with the batch.
    EXPECT_GE(servedBy.size(), 3u);
    for (const auto& [pid, served] : servedBy) EXPECT_LE(served, 200) << pid.toStdString();
}

TEST_F(BatchRunnerTest, AWorkerThatEndsAtOnceFailsEachTimesheetWithoutHanging) {
    std::vector<WorkerRequest> requests(5, WorkerRequest{"a.ini", "stem", "xls"});
    int failed = 0;
    runInWorkers("/bin/true", 2, requests, [&](size_t, const WorkerOutcome& outcome) {
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.messages.contains("worker process")) << outcome.messages.toStdString();
        ++failed;
    });
    EXPECT_EQ(failed, 5);
    EXPECT_THROW(runInWorkers(dir.filePath("missing"), 2, requests, [](size_t, const auto&) {}),
                 tallowby::Failure);
    // Nothing to do starts nobody.
    runInWorkers(dir.filePath("missing"), 2, {}, [](size_t, const auto&) { FAIL(); });
}

}  // namespace
