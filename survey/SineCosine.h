#pragma once

#include <cmath>

namespace survey {

struct SineCosine {
    double sin, cos;
};

// std::sin(x) and std::cos(x) to the bit, in one evaluation where the C
// library offers it (its sincos shares the argument reduction of both).
inline SineCosine SineCosineOf(double x)
{
#if defined(__GLIBC__)
    SineCosine result;
    ::sincos(x, &result.sin, &result.cos);
    return result;
#else
    return {std::sin(x), std::cos(x)};
#endif
}

} // namespace survey
