#include "fill/batch_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "app/failure.h"
#include "fill/batch_protocol.h"

extern char** environ;

namespace tallowby::fill {

namespace {

// Timesheets a worker makes before a fresh one takes over; starting one costs
// about as much as one timesheet, so this is noise in the time.
constexpr int kTimesheetsPerWorker = 200;

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

QString statusText(int status) {
    if (WIFSIGNALED(status))
        return QStringLiteral("killed by signal %1 (%2)")
            .arg(WTERMSIG(status))
            .arg(QString::fromLocal8Bit(::strsignal(WTERMSIG(status))));
    if (WIFEXITED(status)) return QStringLiteral("exit status %1").arg(WEXITSTATUS(status));
    return QStringLiteral("status %1").arg(status);
}

class Worker {
  public:
    explicit Worker(const QByteArray& program) {
        int toChild[2];
        int fromChild[2];
        if (::pipe2(toChild, O_CLOEXEC) != 0) fail();
        if (::pipe2(fromChild, O_CLOEXEC) != 0) {
            ::close(toChild[0]);
            ::close(toChild[1]);
            fail();
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
        char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>("--batch-worker"),
                        nullptr};
        const int spawned =
            ::posix_spawn(&pid_, program.constData(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(toChild[0]);
        ::close(fromChild[1]);
        if (spawned != 0) {
            ::close(toChild[1]);
            ::close(fromChild[0]);
            errno = spawned;
            fail();
        }
        in_ = toChild[1];
        out_ = fromChild[0];
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    // Closing its input is the worker's sign to end; it is then waited for.
    ~Worker() { end(); }

    int end() {
        if (in_ >= 0) ::close(in_);
        if (out_ >= 0) ::close(out_);
        in_ = out_ = -1;
        int status = 0;
        if (pid_ > 0)
            while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        pid_ = -1;
        return status;
    }

    bool send(size_t index, const WorkerRequest& request) {
        job = index;
        return writeAll(in_, batch_protocol::encode({QFile::encodeName(request.input),
                                                     QFile::encodeName(request.outputStem),
                                                     request.formats.toUtf8()}));
    }

    int readFd() const { return out_; }

    std::optional<size_t> job;
    QByteArray inbox;
    int served = 0;

  private:
    [[noreturn]] static void fail() {
        throw Failure(QStringLiteral("cannot start a worker process: %1")
                          .arg(QString::fromLocal8Bit(std::strerror(errno))));
    }

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
};

// SIGPIPE ignored while the batch runs: a worker that died shows as a failed write.
class IgnoredBrokenPipes {
  public:
    IgnoredBrokenPipes() { ::sigaction(SIGPIPE, &ignore(), &old_); }
    ~IgnoredBrokenPipes() { ::sigaction(SIGPIPE, &old_, nullptr); }

  private:
    static const struct sigaction& ignore() {
        static struct sigaction action {};
        action.sa_handler = SIG_IGN;
        return action;
    }
    struct sigaction old_ {};
};

}  // namespace

void runInWorkers(const QString& program, int workers, const std::vector<WorkerRequest>& requests,
                  const std::function<void(size_t index, const WorkerOutcome&)>& finished) {
    const IgnoredBrokenPipes pipes;
    const QByteArray programPath = QFile::encodeName(program);
    std::vector<std::unique_ptr<Worker>> running;
    size_t next = 0;
    size_t done = 0;
    auto lost = [&](Worker& worker, const QString& why) {
        const int status = worker.end();
        if (!worker.job) return;
        finished(*worker.job,
                 {2, QStringLiteral("tallowby-fill: the worker process making it ended (%1; "
                                    "%2) before it was done\n")
                         .arg(why, statusText(status))});
        ++done;
    };
    while (done < requests.size()) {
        // Every idle worker gets the next timesheet; more workers while some wait.
        for (auto it = running.begin(); it != running.end();) {
            Worker& worker = **it;
            if (!worker.job && next < requests.size()) {
                const size_t index = next++;
                if (!worker.send(index, requests[index])) {
                    lost(worker, QStringLiteral("it could not be given the timesheet"));
                    it = running.erase(it);
                    continue;
                }
            }
            ++it;
        }
        while (next < requests.size() &&
               running.size() < static_cast<size_t>(std::max(1, workers))) {
            running.push_back(std::make_unique<Worker>(programPath));
            Worker& worker = *running.back();
            const size_t index = next++;
            if (!worker.send(index, requests[index])) {
                lost(worker, QStringLiteral("it could not be given the timesheet"));
                running.pop_back();
            }
        }
        if (running.empty()) continue;

        std::vector<pollfd> fds;
        for (const auto& worker : running) fds.push_back({worker->readFd(), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            throw Failure(QStringLiteral("cannot wait for the worker processes: %1")
                              .arg(QString::fromLocal8Bit(std::strerror(errno))));
        }
        std::vector<bool> gone(running.size(), false);
        for (size_t i = 0; i < running.size(); ++i) {
            if (fds[i].revents == 0) continue;
            Worker& worker = *running[i];
            char buffer[16 * 1024];
            const ssize_t n = ::read(worker.readFd(), buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                lost(worker, QStringLiteral("it stopped answering"));
                gone[i] = true;
                continue;
            }
            worker.inbox.append(buffer, n);
            std::optional<QList<QByteArray>> reply;
            try {
                reply = batch_protocol::take(worker.inbox, batch_protocol::kReplyFields);
            } catch (const Failure&) {
                lost(worker, QStringLiteral("it answered with garbage"));
                gone[i] = true;
                continue;
            }
            if (!reply) continue;
            bool ok = false;
            const int status = (*reply)[0].toInt(&ok);
            const size_t index = *worker.job;
            worker.job.reset();
            ++done;
            finished(index, {ok ? status : 2, QString::fromUtf8((*reply)[1])});
            if (++worker.served >= kTimesheetsPerWorker) {
                worker.end();
                gone[i] = true;
            }
        }
        for (size_t i = running.size(); i-- > 0;)
            if (gone[i]) running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

int serveRequests(int inFd, int outFd,
                  const std::function<WorkerOutcome(const WorkerRequest&)>& make) {
    QByteArray inbox;
    char buffer[16 * 1024];
    while (true) {
        std::optional<QList<QByteArray>> request;
        try {
            request = batch_protocol::take(inbox, batch_protocol::kRequestFields);
        } catch (const Failure&) {
            return 2;
        }
        if (!request) {
            const ssize_t n = ::read(inFd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return 2;
            if (n == 0) return inbox.isEmpty() ? 0 : 2;
            inbox.append(buffer, n);
            continue;
        }
        const WorkerOutcome outcome =
            make({QFile::decodeName((*request)[0]), QFile::decodeName((*request)[1]),
                  QString::fromUtf8((*request)[2])});
        if (!writeAll(outFd, batch_protocol::encode(
                                 {QByteArray::number(outcome.status), outcome.messages.toUtf8()})))
            return 2;
    }
}

}  // namespace tallowby::fill
