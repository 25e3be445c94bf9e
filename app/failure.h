#pragma once

#include <QString>
#include <stdexcept>
#include <string>

namespace tallowby {

// A failure with a description meant for the user; the error report shows the
// description on its first line. Engine code throws std::runtime_error (or a
// subclass) with the description in what(); both are reported the same way.
class Failure : public std::runtime_error {
  public:
    explicit Failure(const QString& description) : std::runtime_error(description.toStdString()) {}
    explicit Failure(const std::string& description) : std::runtime_error(description) {}
    explicit Failure(const char* description) : std::runtime_error(description) {}
};

}  // namespace tallowby
