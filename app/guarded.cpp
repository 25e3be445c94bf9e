#include "app/guarded.h"

#include <exception>
#include <utility>

#include "app/error_report.h"

namespace tallowby {

Guarded::Guarded(QString module, QString procedure, QWidget* parent)
    : module_(std::move(module)), procedure_(std::move(procedure)), parent_(parent) {}

bool Guarded::run(int line, const std::function<void()>& statement) {
    line_ = line;
    try {
        statement();
        return true;
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error"));
    }
    return false;
}

bool Guarded::test(int line, const std::function<bool()>& condition) {
    bool result = true;
    run(line, [&] { result = condition(); });
    return result;
}

void Guarded::report(const QString& description) {
    ++failures_;
    error_report::show(description, module_, procedure_, line_, parent_);
}

}  // namespace tallowby
