#pragma once

#include <QString>

namespace tallowby::engine_presence {

// True when an engine instance can be created and the embedded template read.
bool enginePresent();

// The explanation shown when the spreadsheet engine cannot be started.
QString missingEngineMessage();

}  // namespace tallowby::engine_presence
