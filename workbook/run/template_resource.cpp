#include "workbook/run/template_resource.h"

#include <QFile>

#include "app/failure.h"

namespace tallowby {

QByteArray templateBytes() {
    QFile resource(QStringLiteral(":/template.xlt"));
    if (!resource.open(QIODevice::ReadOnly))
        throw Failure("The embedded timesheet template cannot be read.");
    return resource.readAll();
}

}  // namespace tallowby
