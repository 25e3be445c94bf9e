#include "workbook/engine/render/picture_rows.h"

#include <QColor>
#include <QCoreApplication>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace tallowby::engine::render {

namespace {

// Nothing may escape the helper thread: a failure is a false.
bool runGuarded(const std::function<bool()>& work) {
    try {
        return work();
    } catch (...) {
        return false;
    }
}

// One thread that waits for the next half of a picture's work. It ends with
// the application (what it keeps holds fonts, which must not outlive it) or
// with the program, and starts again when wanted.
class HelperThread {
  public:
    ~HelperThread() { stop(); }

    // The task is taken, or false when the helper is busy or cannot start.
    bool start(const std::function<bool()>* task) {
        std::lock_guard lock(mutex_);
        if (task_ || stopping_ || !ensureRunning()) return false;
        task_ = task;
        done_ = false;
        wake_.notify_all();
        return true;
    }

    bool wait() {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [this] { return done_; });
        task_ = nullptr;
        return result_;
    }

    void stop() {
        std::thread ending;
        {
            std::lock_guard lock(mutex_);
            if (!thread_.joinable()) return;
            stopping_ = true;
            wake_.notify_all();
            ending = std::move(thread_);
        }
        ending.join();
        std::lock_guard lock(mutex_);
        stopping_ = false;
    }

  private:
    bool ensureRunning() {
        if (thread_.joinable()) return true;
        try {
            thread_ = std::thread([this] { loop(); });
        } catch (const std::system_error&) {
            return false;
        }
        if (QCoreApplication::instance() && !watchingApplication_) {
            watchingApplication_ = true;
            qAddPostRoutine(stopHelper);
        }
        return true;
    }

    void loop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || (task_ && !done_); });
            if (stopping_) return;
            const std::function<bool()>* task = task_;
            lock.unlock();
            const bool result = runGuarded(*task);
            lock.lock();
            result_ = result;
            done_ = true;
            finished_.notify_all();
        }
    }

    static void stopHelper();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::thread thread_;
    const std::function<bool()>* task_ = nullptr;
    bool done_ = false;
    bool result_ = false;
    bool stopping_ = false;
    bool watchingApplication_ = false;
};

HelperThread& helper() {
    static HelperThread thread;
    return thread;
}

void HelperThread::stopHelper() {
    HelperThread& h = helper();
    h.stop();
    std::lock_guard lock(h.mutex_);
    h.watchingApplication_ = false;
}

}  // namespace

bool bothAtOnce(const std::function<bool()>& here, const std::function<bool()>& there) {
    if (!helper().start(&there)) {
        const bool first = runGuarded(here);
        return runGuarded(there) && first;
    }
    const bool first = runGuarded(here);
    const bool second = helper().wait();
    return first && second;
}

bool overRows(int rows, bool split, const std::function<bool(int, int)>& part) {
    if (!split || rows < 2) return runGuarded([&] { return part(0, rows); });
    const int middle = rows / 2;
    return bothAtOnce([&] { return part(0, middle); }, [&] { return part(middle, rows); });
}

void fillPicture(QImage& picture, QRgb colour) {
    if (picture.isNull() || picture.depth() != 32 || picture.hasAlphaChannel()) {
        picture.fill(QColor::fromRgb(colour));
        return;
    }
    const quint32 pixel = 0xff000000u | colour;
    uchar* const bits = picture.bits();
    const qsizetype bytesPerLine = picture.bytesPerLine();
    const int width = picture.width();
    const bool split = static_cast<std::size_t>(picture.sizeInBytes()) >= kTwoThreadRowBytes;
    // White, the usual background, is one byte repeated: memset fills with
    // the widest stores the processor has, where the pixel loop stores one
    // pixel at a time.
    const bool oneByte = (pixel & 0xff) * 0x01010101u == pixel;
    overRows(picture.height(), split, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            uchar* row = bits + bytesPerLine * y;
            if (oneByte)
                std::memset(row, static_cast<int>(pixel & 0xff),
                            static_cast<std::size_t>(width) * 4);
            else
                std::fill_n(reinterpret_cast<quint32*>(row), width, pixel);
        }
        return true;
    });
}

}  // namespace tallowby::engine::render
