#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <functional>

namespace tallowby {

// All-or-nothing replacement of a user's file. The bytes go to a new file in
// the target's folder, are flushed to the disk (fsync) and their size checked,
// and only then is the new file renamed over the target. On any failure the
// new file is removed, the target stays exactly as it was, and
// tallowby::Failure says why ("Cannot write PATH: REASON").
//
// Where the file system allows it the new file is anonymous (O_TMPFILE) until
// it is complete: it gets a name beside the target only for the moment
// between linking it and renaming it, so a process killed while writing
// leaves nothing behind. Elsewhere it is a hidden file beside the target from
// the start (".NAME.tallowby-XXXXXX"). The writer locks its new file until it
// has replaced the target; the next writer to the same target removes such
// files that nobody holds, left by a writer that was killed in between.
//
// The target must be a regular file or a new name; a folder, device, FIFO or
// socket is refused before anything is written. A symbolic link is followed:
// the file it points to is replaced, the link stays.
//
//   AtomicFileWriter out(path);            // or AtomicFileWriter(path, 0600)
//   out.write(header);
//   out.write(body);
//   out.commit();                          // throws on failure
//
// Not committing (an exception in between) discards what was written.
class AtomicFileWriter {
  public:
    // Whether the bytes and the rename are flushed to the disk before commit
    // returns. Only files that live no longer than the program (its private
    // temp folder) skip it: a crash removes them anyway, and the flush costs
    // more than everything else of a generation run.
    enum class Flush { ToDisk, ForThisSessionOnly };

    // `newFileMode` is used when the target does not exist yet (the umask
    // still applies); an existing target keeps its permission bits.
    explicit AtomicFileWriter(QString path, mode_t newFileMode = 0666, Flush flush = Flush::ToDisk);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const QByteArray& bytes);
    void write(const char* data, qint64 size);
    void commit();  // prepare() then publish()

    // The steps of commit(), for an OutputSet that replaces several files
    // only when all of them are complete: complete() flushes the bytes to the
    // disk and checks their size; prepare() also gives the new file its name
    // beside the target; publish() renames it over the target, and
    // syncFolder() makes that rename last.
    void complete();
    void prepare();
    void publish();
    void syncFolder() const;

    const QString& path() const { return path_; }

    // The system calls the writer makes, replaceable so tests can fail any
    // step the way a broken disk would. Each returns what the call returns
    // (-1 with errno set on failure).
    struct SystemCalls {
        std::function<ssize_t(int fd, const void* data, size_t size)> write{};
        std::function<int(int fd)> fsync{};
        std::function<int(const char* from, const char* to)> rename{};
        // open(folder, O_TMPFILE | ...): fail it with EOPNOTSUPP to take the
        // path of file systems without anonymous files.
        std::function<int(const char* folder, int flags, mode_t mode)> openAnonymous{};
        // linkat(AT_FDCWD, "/proc/self/fd/N", AT_FDCWD, name, AT_SYMLINK_FOLLOW)
        std::function<int(const char* from, const char* to)> link{};
    };
    static void setSystemCallsForTesting(const SystemCalls* calls);

  private:
    [[noreturn]] void fail(const QString& reason);
    void discard();
    void openNamed();
    void linkBesideTarget();

    QString path_;
    QByteArray target_;  // the file that is replaced, links resolved
    QByteArray folder_;  // the target's folder and its name there
    QByteArray fileName_;
    QByteArray temporary_;  // the new file's name beside the target, once it has one
    int fd_ = -1;
    qint64 written_ = 0;
    Flush flush_ = Flush::ToDisk;
    bool completed_ = false;
    bool prepared_ = false;
};

// Writes exactly `bytes` to `path` through an AtomicFileWriter.
void writeFileAtomically(const QString& path, const QByteArray& bytes, mode_t newFileMode = 0666);

}  // namespace tallowby
