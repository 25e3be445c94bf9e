#include "timesheet/rejected_rates.h"

#include <algorithm>
#include <cmath>

#include "app/message_field.h"

namespace tallowby {

std::optional<QString> rateRefusal(const QString& rate, std::optional<double> number) {
    if (rate.isEmpty()) return std::nullopt;
    if (!number) return QStringLiteral("not a number");
    if (!std::isfinite(*number) || std::fabs(*number) > kLargestRate)
        return QStringLiteral("too large to compute pay with");
    return std::nullopt;
}

QString rejectedRatesMessage(const std::vector<RejectedRate>& rejected, int listedAtMost) {
    if (rejected.empty()) return {};
    const int count = static_cast<int>(rejected.size());
    QString text =
        count == 1
            ? QStringLiteral("1 hour rate was not written, so its pay shows 0.00:")
            : QStringLiteral("%1 hour rates were not written, so their pay shows 0.00:").arg(count);
    const int listed = std::min(count, listedAtMost);
    for (int i = 0; i < listed; ++i) {
        const RejectedRate& r = rejected[static_cast<size_t>(i)];
        text +=
            QStringLiteral("\n\"%1\" of \"%2\": %3")
                .arg(fieldForMessage(r.entry.rate), fieldForMessage(r.entry.description), r.reason);
    }
    if (count > listed) text += QStringLiteral("\n... and %1 more.").arg(count - listed);
    return text;
}

}  // namespace tallowby
