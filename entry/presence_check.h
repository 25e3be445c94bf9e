#pragma once

#include <functional>

namespace tallowby::presence_check {

// The presence check that ends start-up: makes sure an engine instance can be
// created and the embedded template read; otherwise shows the explanation and
// ends the program at once.
void checkEngineInstalled();

// How the program ends after the explanation (tests replace it).
void setEndProgram(std::function<void()> endProgram);

}  // namespace tallowby::presence_check
