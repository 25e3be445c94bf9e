#include "app/guarded.h"

#include <QStringList>
#include <exception>
#include <utility>

namespace tallowby {

namespace {
// The innermost guarded statement that is running on this thread.
thread_local Guarded* t_running = nullptr;
thread_local QStringList* t_handedOver = nullptr;
}  // namespace

Guarded::Guarded(QString module, QString procedure, FailureSink sink)
    : module_(std::move(module)), procedure_(std::move(procedure)), sink_(std::move(sink)) {}

bool Guarded::run(int line, const std::function<void()>& statement) {
    line_ = line;
    QStringList handedOver;
    Guarded* const outer = t_running;
    QStringList* const outerList = t_handedOver;
    t_running = this;
    t_handedOver = &handedOver;
    bool completed = true;
    QString failure;
    try {
        statement();
    } catch (const std::exception& e) {
        completed = false;
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        completed = false;
        failure = QStringLiteral("Unknown error");
    }
    t_running = outer;
    t_handedOver = outerList;
    for (const QString& description : handedOver) report(description);
    if (!completed) report(failure);
    return completed && handedOver.isEmpty();
}

bool Guarded::test(int line, const std::function<bool()>& condition) {
    bool result = true;
    run(line, [&] { result = condition(); });
    return result;
}

bool Guarded::passToRunningStatement(const QString& description) {
    if (!t_running || !t_handedOver) return false;
    t_handedOver->append(description);
    return true;
}

void Guarded::report(const QString& description) {
    ++failures_;
    if (!sink_) return;  // counted only
    if (repeatedDepth_ == 0) {
        sink_({description, module_, procedure_, line_});
        return;
    }
    for (Gathered& g : gathered_) {
        if (g.line == line_ && g.description == description) {
            ++g.times;
            return;
        }
    }
    gathered_.push_back({line_, description, 1});
}

void Guarded::reportGathered() {
    const std::vector<Gathered> gathered = std::move(gathered_);
    gathered_.clear();
    for (const Gathered& g : gathered)
        sink_({g.times == 1 ? g.description : repeatedDescription(g.description, g.times), module_,
               procedure_, g.line});
}

QString Guarded::repeatedDescription(const QString& description, int times) {
    return QStringLiteral("%1 (this happened %2 times)").arg(description).arg(times);
}

Guarded::Repeated::Repeated(Guarded& g) : g_(g) {
    ++g_.repeatedDepth_;
}

Guarded::Repeated::~Repeated() {
    if (--g_.repeatedDepth_ == 0) g_.reportGathered();
}

}  // namespace tallowby
