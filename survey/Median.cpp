#include "survey/Median.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace survey {

double MedianOfFinite(std::vector<double> values)
{
    std::erase_if(values, [](double v) { return !std::isfinite(v); });
    if (values.empty())
        return std::nan("");
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2)
        return *middle;
    // Halves first, so huge values cannot overflow.
    return 0.5 * *std::max_element(values.begin(), middle) + 0.5 * *middle;
}

} // namespace survey
