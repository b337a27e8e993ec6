#include "orvane/chart/KSection.h"

#include <algorithm>
#include <cctype>

namespace orvane::chart {

int compareDate(const KSection& a, const KSection& b) {
    const std::string& x = a.date;
    const std::string& y = b.date;
    const std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int cx = std::tolower(static_cast<unsigned char>(x[i]));
        const int cy = std::tolower(static_cast<unsigned char>(y[i]));
        if (cx != cy) return cx < cy ? -1 : 1;
    }
    if (x.size() == y.size()) return 0;
    return x.size() < y.size() ? -1 : 1;
}

}  // namespace orvane::chart
