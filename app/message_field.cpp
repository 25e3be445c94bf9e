#include "app/message_field.h"

namespace tallowby {

QString fieldForMessage(const QString& field, int most) {
    qsizetype end = 0;
    int characters = 0;
    while (end < field.size() && characters < most) {
        end += (field.at(end).isHighSurrogate() && end + 1 < field.size() &&
                field.at(end + 1).isLowSurrogate())
                   ? 2
                   : 1;
        ++characters;
    }
    if (end >= field.size()) return field;
    return field.left(end) + QChar(0x2026);
}

}  // namespace tallowby
