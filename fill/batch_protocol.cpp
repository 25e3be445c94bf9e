#include "fill/batch_protocol.h"

#include "app/failure.h"

namespace tallowby::fill::batch_protocol {

namespace {
// No field of ours comes near this; a longer length is a broken stream.
constexpr qsizetype kLongestField = 64 * 1024 * 1024;
}  // namespace

QByteArray encode(const QList<QByteArray>& fields) {
    QByteArray message;
    for (const QByteArray& field : fields)
        message += QByteArray::number(field.size()) + ':' + field + ',';
    return message;
}

std::optional<QList<QByteArray>> take(QByteArray& buffer, int fields) {
    QList<QByteArray> taken;
    qsizetype at = 0;
    for (int i = 0; i < fields; ++i) {
        const qsizetype colon = buffer.indexOf(':', at);
        if (colon < 0) {
            if (buffer.size() - at > 20) throw Failure("a worker's message has no field length");
            return std::nullopt;
        }
        bool ok = false;
        const qsizetype length = buffer.mid(at, colon - at).toLongLong(&ok);
        if (!ok || length < 0 || length > kLongestField || colon == at)
            throw Failure("a worker's message has a bad field length");
        const qsizetype end = colon + 1 + length;
        if (buffer.size() <= end) return std::nullopt;
        if (buffer[end] != ',') throw Failure("a worker's message has a field without its end");
        taken << buffer.mid(colon + 1, length);
        at = end + 1;
    }
    buffer.remove(0, at);
    return taken;
}

}  // namespace tallowby::fill::batch_protocol
