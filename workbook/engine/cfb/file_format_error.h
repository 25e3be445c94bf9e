#pragma once

#include <stdexcept>
#include <string>

namespace tallowby::engine {

// A workbook file that cannot be read: not a compound file, truncated,
// inconsistent or in a BIFF version the engine does not handle. what() says
// which, in words meant for the user.
class FileFormatError : public std::runtime_error {
  public:
    explicit FileFormatError(const std::string& description) : std::runtime_error(description) {}
};

}  // namespace tallowby::engine
