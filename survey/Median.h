#pragma once

#include <vector>

namespace survey {

// The median of the finite values (the mean of the two middle ones for an
// even count), or NaN when there is none.
double MedianOfFinite(std::vector<double> values);

} // namespace survey
