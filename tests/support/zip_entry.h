#pragma once

#include <cstdio>
#include <string>

namespace tallowby::testing {

// One part of a written .xlsx file (the zip's entry), as text; empty when
// the entry is missing. Read with unzip(1), so the test does not trust a zip
// reader of its own.
inline std::string zipEntry(const std::string& zip, const std::string& entry) {
    const std::string command = "unzip -p '" + zip + "' '" + entry + "' 2>/dev/null";
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
        pclose(p);
    }
    return out;
}

inline bool contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

}  // namespace tallowby::testing
