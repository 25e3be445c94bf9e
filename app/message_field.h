#pragma once

#include <QString>

namespace tallowby {

// A typed field as a message quotes it: up to `most` characters as typed; a
// longer one is cut after `most` characters and ends with "…", so a pasted
// page cannot swamp the message. Characters are counted whole (a pair of
// UTF-16 surrogates is one).
QString fieldForMessage(const QString& field, int most = 80);

}  // namespace tallowby
