#pragma once

#include <cmath>

namespace survey {

// The length of a vector, within an ulp or so of std::hypot's and as safe:
// the plain root of the squares where no square can overflow and what
// underflows is too small to count, the C library's hypot elsewhere (huge,
// tiny, zero, infinite or NaN parts), which costs several times as much.

namespace detail {
// In this range no square of the sum overflowed, and what a square lost to
// underflow (under 2^-1074) is below 2^-100 of the sum.
inline bool SquaresSafe(double sumOfSquares)
{
    return sumOfSquares >= 0x1p-960 && sumOfSquares <= 0x1p1000;
}
} // namespace detail

inline double Hypot(double x, double y)
{
    const double squares = x * x + y * y;
    return detail::SquaresSafe(squares) ? std::sqrt(squares) : std::hypot(x, y);
}

inline double Hypot(double x, double y, double z)
{
    const double squares = x * x + y * y + z * z;
    if (detail::SquaresSafe(squares))
        return std::sqrt(squares);
    // An infinite part makes the length infinite, even beside a NaN, as the
    // two-part hypot has it (the standard library's three-part one gives NaN).
    if (std::isinf(x) || std::isinf(y) || std::isinf(z))
        return HUGE_VAL;
    return std::hypot(x, y, z);
}

} // namespace survey
