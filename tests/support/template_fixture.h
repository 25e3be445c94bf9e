#pragma once

#include <string>

#include "tests/support/test_paths.h"
#include "workbook/engine/biff/workbook_io.h"

namespace tallowby::engine::testing {

// The timesheet template in the source tree.
inline std::string templatePath() {
    return test_paths::kTemplateFile;
}

// The template as read once from the source tree.
inline const Workbook& templateWorkbook() {
    static const Workbook workbook = readWorkbookFile(templatePath());
    return workbook;
}

}  // namespace tallowby::engine::testing
