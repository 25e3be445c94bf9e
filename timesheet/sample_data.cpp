#include "timesheet/sample_data.h"

#include <cmath>

namespace tallowby::sample_data {

bool wantsEntry(int dayIndex, int typeIndex) {
    // nearbyint rounds halves to the even neighbour under the default mode.
    const double quotient = static_cast<double>(typeIndex) / (dayIndex + 1);
    const auto rounded = static_cast<long long>(std::nearbyint(quotient));
    return rounded % 3 == 0;
}

std::vector<std::pair<int, int>> pattern(int dayCount, int typeCount) {
    std::vector<std::pair<int, int>> pairs;
    for (int d = 0; d < dayCount; ++d)
        for (int t = 0; t < typeCount; ++t)
            if (wantsEntry(d, t)) pairs.emplace_back(d, t);
    return pairs;
}

}  // namespace tallowby::sample_data
