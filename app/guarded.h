#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace tallowby {

// One failed statement: what the error report says and where.
struct StatementFailure {
    QString description;
    QString module;     // e.g. "Form1"
    QString procedure;  // e.g. "PushButton6_Click"
    int line = 0;
};

// Whoever presents failures: a window shows the error report at once, the
// command line writes them out, the generation run keeps them for its caller.
using FailureSink = std::function<void(const StatementFailure&)>;

// Runs the numbered statements of one procedure. A statement that throws is
// reported through the error report with its number, and the procedure goes
// on with the next statement: nothing is retried, nothing is abandoned.
// Each failure goes to the sink when it happens (or when a Repeated scope
// ends), in the order the statements ran; without a sink it is only counted.
//
//   Guarded g(kEntryWindow, kAddHoursClicked, sink);
//   if (g.test(100, [&] { return list.count() > 0; })) {
//       g.run(102, [&] { ... });
//   }
//   g.run(106, [&] { ... });
class Guarded {
  public:
    Guarded(QString module, QString procedure, FailureSink sink);
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    // Runs one statement; true when it completed without a failure.
    bool run(int line, const std::function<void()>& statement);

    // A condition. When evaluating it fails, execution resumes with the first
    // statement of its then-branch, so a failing condition counts as true.
    bool test(int line, const std::function<bool()>& condition);

    // A value such as a loop bound. When computing it fails, `onFailure` is
    // used: pass 1 for the header of a counted loop whose body must then run
    // once, as execution resumes with the loop's first statement.
    template <class T, class F>
    T value(int line, F&& compute, T onFailure) {
        T result = onFailure;
        run(line, [&] { result = compute(); });
        return result;
    }

    // Small handlers (a field's change, a tab change) have no report of their
    // own. When one of them fails while a guarded statement is running (the
    // statement changed the field, say), the failure belongs to that
    // statement: it is reported with its number once the statement returns.
    // Returns false when no guarded statement is running; the caller then
    // decides what to do with the failure.
    static bool passToRunningStatement(const QString& description);

    // Inside a loop over many entries, one cause can fail every pass. While a
    // Repeated scope is alive, failures are gathered by statement number and
    // description and reported when the scope ends: once as usual when it
    // happened once, else once with the number of times.
    //
    //   { Guarded::Repeated loop(g);
    //     for (...) g.run(154, [&] { ... }); }
    class Repeated {
      public:
        explicit Repeated(Guarded& g);
        ~Repeated();
        Repeated(const Repeated&) = delete;
        Repeated& operator=(const Repeated&) = delete;

      private:
        Guarded& g_;
    };

    // The description of a failure that happened `times` times.
    static QString repeatedDescription(const QString& description, int times);

    int failures() const { return failures_; }
    const QString& module() const { return module_; }
    const QString& procedure() const { return procedure_; }

  private:
    void report(const QString& description);
    void reportGathered();

    struct Gathered {
        int line;
        QString description;
        int times;
    };

    QString module_;
    QString procedure_;
    FailureSink sink_;
    int line_ = 0;
    int failures_ = 0;
    int repeatedDepth_ = 0;
    std::vector<Gathered> gathered_;
};

}  // namespace tallowby
