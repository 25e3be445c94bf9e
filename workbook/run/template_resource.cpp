#include "workbook/run/template_resource.h"

#include <QFile>

#include "app/failure.h"

namespace tallowby {

namespace {
QByteArray readResource() {
    QFile resource(QStringLiteral(":/template.xlt"));
    if (!resource.open(QIODevice::ReadOnly))
        throw Failure("The embedded timesheet template cannot be read.");
    return resource.readAll();
}
}  // namespace

QByteArray templateBytes() {
    // Read (and unpacked) once: every run starts from it. A failed read is
    // tried again the next time.
    static const QByteArray bytes = readResource();
    return bytes;
}

}  // namespace tallowby
