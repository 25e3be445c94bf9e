#pragma once

#include <QString>
#include <optional>

namespace tallowby::engine_presence {

// The embedded template's resource name, as the message names it.
inline constexpr char kTemplateResource[] = ":/template.xlt";

// What stops a run before it starts: nothing when an engine instance can be
// created and the embedded template read; otherwise which of the two failed
// and why, in a sentence.
std::optional<QString> engineProblem();

// The explanation shown when the engine or the template cannot be used: what
// was checked, what failed, and what to do on this system.
QString missingEngineMessage(const QString& problem);

}  // namespace tallowby::engine_presence
