#include "app/error_report.h"

#include "app/build_config.h"

namespace tallowby::error_report {

QString locationText(const QString& module, const QString& procedure) {
    return QStringLiteral("in Tallowby2021/08/31.") + module + QLatin1Char('.') + procedure +
           QLatin1Char(' ');
}

QString text(const QString& description, const QString& module, const QString& procedure,
             int line) {
    return description + QStringLiteral("\r\n") + locationText(module, procedure) +
           QStringLiteral("at line ") + QString::number(line) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") +
           QString::fromUtf8(build::kSupportEmail);
}

QString text(const StatementFailure& failure) {
    return text(failure.description, failure.module, failure.procedure, failure.line);
}

}  // namespace tallowby::error_report
