#pragma once

#include <QString>

namespace tallowby::preview {

// Copies `source` to `target` byte for byte, replacing a file of that name.
// The bytes go to a temporary file beside the target, which is renamed over
// it only when complete, so a failure leaves an existing target untouched.
// Throws tallowby::Failure with a description on any failure.
void copyReplacing(const QString& source, const QString& target);

}  // namespace tallowby::preview
