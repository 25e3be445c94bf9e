#pragma once

#include <QByteArray>

namespace tallowby {

// The timesheet template carried inside the program. Throws tallowby::Failure
// when the resource is missing.
QByteArray templateBytes();

}  // namespace tallowby
