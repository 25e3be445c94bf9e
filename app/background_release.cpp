#include "app/background_release.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/plain_file.h"

namespace tallowby {

namespace {

// Closes the handed-over descriptors one by one. Started when first needed;
// at program end it closes what is left before the program goes.
class Releaser {
  public:
    ~Releaser() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            wake_.notify_all();
        }
        if (thread_.joinable()) thread_.join();
    }

    void release(int fd) {
        std::unique_lock lock(mutex_);
        if (!stopping_ && ensureRunning()) {
            pending_.push_back(fd);
            wake_.notify_all();
            return;
        }
        lock.unlock();
        ::close(fd);
    }

    void waitForAll() {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return pending_.empty() && !closing_; });
    }

  private:
    bool ensureRunning() {
        if (thread_.joinable()) return true;
        try {
            thread_ = std::thread([this] { loop(); });
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }

    void loop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
            if (pending_.empty()) return;  // stopping, nothing left
            const int fd = pending_.front();
            pending_.pop_front();
            closing_ = true;
            lock.unlock();
            ::close(fd);
            lock.lock();
            closing_ = false;
            if (pending_.empty()) idle_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<int> pending_;
    bool closing_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

Releaser& releaser() {
    static Releaser r;
    return r;
}

}  // namespace

void removeFileReleasingLater(const QString& path) {
    if (path.isEmpty()) return;
    // A path-only descriptor keeps the file's pages to itself without opening
    // it: no read permission needed, and a FIFO put there does not block.
    const int fd = ::open(QFile::encodeName(path).constData(), O_PATH | O_CLOEXEC | O_NOFOLLOW);
    removeFile(path);
    if (fd >= 0) releaser().release(fd);
}

void waitForFileReleases() {
    releaser().waitForAll();
}

}  // namespace tallowby
