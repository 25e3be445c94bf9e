#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/sample_week.h"
#include "tests/support/template_fixture.h"
#include "workbook/engine/biff/workbook_io.h"
#include "workbook/engine/formula/recalculate.h"

namespace tallowby::engine::testing {

// Reads the template from the source tree; a fatal failure when it is not
// there (call through ASSERT_NO_FATAL_FAILURE).
inline void loadTemplate(Workbook& book) {
    const std::string path = templatePath();
    ASSERT_TRUE(std::filesystem::exists(path)) << "no template at " << path;
    book = readWorkbookFile(path);
}

// The template with the sample week filled in and computed.
inline void loadFilledTemplate(Workbook& book) {
    ASSERT_NO_FATAL_FAILURE(loadTemplate(book));
    SampleWeek::fill(book);
    formula::recalculate(book);
}

}  // namespace tallowby::engine::testing
