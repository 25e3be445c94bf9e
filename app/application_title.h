#pragma once

#include <QString>

namespace tallowby {

// The title every message box and notice carries: the product name cut at
// its last blank while it is longer than 40 characters.
QString applicationTitleFrom(const QString& productName);

// Sets the title (and Qt's application name) from the product name; the
// windows call it as they load.
void setApplicationTitle();

// The title set last; "Tallowby" before any was set.
QString applicationTitle();

}  // namespace tallowby
