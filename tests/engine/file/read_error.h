#pragma once

#include <string>

#include "workbook/engine/cfb/file_format_error.h"

namespace tallowby::engine::testing {

// The message of the FileFormatError that `read` throws; empty when it reads.
template <typename Read>
std::string readErrorOf(Read read) {
    try {
        read();
    } catch (const FileFormatError& e) {
        return e.what();
    }
    return "";
}

}  // namespace tallowby::engine::testing
