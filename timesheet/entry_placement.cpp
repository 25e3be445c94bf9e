#include "timesheet/entry_placement.h"

#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <utility>

#include "app/message_field.h"

namespace tallowby {

using namespace template_layout;

std::optional<int> indexNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

bool isDuration(const QString& hours) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9]{1,4}):([0-9]{2})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(hours);
    return match.hasMatch() && match.capturedView(2).toInt() <= 59;
}

namespace {

// The last text a check was made of and its answer: the entries of a long
// list repeat their indexes and hours, and a check per entry (a pattern
// match, a number read) would cost more than the rest of the placement.
template <class Answer>
class LastAnswer {
  public:
    template <class Check>
    const Answer& of(const QString& text, Check check) {
        if (!known_ || text != text_) {
            text_ = text;
            answer_ = check(text);
            known_ = true;
        }
        return answer_;
    }

  private:
    QString text_;
    Answer answer_{};
    bool known_ = false;
};

}  // namespace

EntryPlacement placeEntries(const std::vector<HoursEntry>& entries, int rateColumns) {
    EntryPlacement placement;
    std::map<std::pair<int, int>, size_t> cellOf;  // (day, rate) -> index in cells
    LastAnswer<std::optional<int>> days, rates;
    LastAnswer<bool> durations;
    for (const HoursEntry& entry : entries) {
        const auto day = days.of(entry.dayIndex, indexNumber);
        const auto rate = rates.of(entry.rateIndex, indexNumber);
        if (!day || !rate || *day < 0 || *day >= kDaysInWeek || *rate < 0 || *rate >= rateColumns ||
            !durations.of(entry.hours, isDuration)) {
            placement.leftOut.push_back(entry);
            continue;
        }
        const auto key = std::pair{*day, *rate};
        auto it = cellOf.find(key);
        if (it == cellOf.end()) {
            it = cellOf.emplace(key, placement.cells.size()).first;
            placement.cells.push_back({kFirstDayRow + *day, kFirstRateColumn + *rate, {}});
        }
        placement.cells[it->second].entries.push_back(&entry);
    }
    return placement;
}

QString leftOutMessage(const std::vector<HoursEntry>& leftOut, int listedAtMost) {
    if (leftOut.empty()) return {};
    const int count = static_cast<int>(leftOut.size());
    QString text = count == 1 ? QStringLiteral(
                                    "1 hours entry was left out of the timesheet: it has no "
                                    "day or no rate type on the sheet, or its hours are not a "
                                    "duration (h:mm, minutes 0 to 59).")
                              : QStringLiteral(
                                    "%1 hours entries were left out of the timesheet: they "
                                    "have no day or no rate type on the sheet, or their hours "
                                    "are not a duration (h:mm, minutes 0 to 59).")
                                    .arg(count);
    auto shown = [](const QString& s) {
        return s.isEmpty() ? QStringLiteral("(none)") : fieldForMessage(s);
    };
    const int listed = std::min(count, listedAtMost);
    for (int i = 0; i < listed; ++i) {
        const HoursEntry& e = leftOut[static_cast<size_t>(i)];
        text += QStringLiteral("\n%1, %2, %3").arg(shown(e.day), shown(e.rateType), shown(e.hours));
    }
    if (count > listed) text += QStringLiteral("\n... and %1 more.").arg(count - listed);
    text +=
        QStringLiteral("\nChoose a day and a type for them, correct their hours, or delete them.");
    return text;
}

}  // namespace tallowby
