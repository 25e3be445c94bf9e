#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tallowby::engine::testing {

// The timesheet template in the source tree: from TALLOWBY_SOURCE_DIR when
// the test runner sets it, else found from this header's own location.
inline std::string templatePath() {
    if (const char* source = std::getenv("TALLOWBY_SOURCE_DIR"); source && *source)
        return std::string(source) + "/resources/template.xlt";
    const std::filesystem::path here(__FILE__);
    return (here.parent_path() / "../../../resources/template.xlt").lexically_normal().string();
}

}  // namespace tallowby::engine::testing
