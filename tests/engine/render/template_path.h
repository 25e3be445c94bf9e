#pragma once

#include <string>

#include "tests/test_paths.h"

namespace tallowby::engine::testing {

// The timesheet template in the source tree.
inline std::string templatePath() {
    return test_paths::kTemplateFile;
}

}  // namespace tallowby::engine::testing
