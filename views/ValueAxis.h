#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// The value axis of a depth plot, in the values' own units (degrees,
// nanotesla, ...): the range fitted to the readings in the depth window,
// the user's zoom of it, and the round values it is labelled at.

struct ValueSpan {
    double low;
    double high;

    double Length() const { return high - low; }
    friend bool operator==(const ValueSpan&, const ValueSpan&) = default;
};

// Gathers the lowest and highest finite value seen; empty until one is.
class ValueExtent {
public:
    void Add(double value)
    {
        if (!std::isfinite(value))
            return;
        m_low = std::min(m_low, value);
        m_high = std::max(m_high, value);
    }
    bool IsEmpty() const { return m_low > m_high; }
    ValueSpan Span() const { return {m_low, m_high}; }

private:
    double m_low = 1.0e308;
    double m_high = -1.0e308;
};

// `extent` widened to at least `leastLength` about its middle, then padded
// by kFitMargin of its length on either side. Empty gives {-1, 1} x leastLength.
inline constexpr double kFitMargin = 0.05;
ValueSpan FitWithMargin(const ValueExtent& extent, double leastLength);

// What the user made of a fitted range with Ctrl and the wheel: the part of
// it shown, as fractions (0 its low end, 1 its high end). Starts whole.
class ValueZoom {
public:
    bool IsWhole() const { return m_from == 0.0 && m_to == 1.0; }
    // Narrows the part shown by `factor` (below 1 widens it) about `fraction`
    // of it from the bottom (0 to 1), which stays in place. The part shown
    // keeps between a millionth and a thousand times the fitted range.
    void Zoom(double fraction, double factor);
    // The part of `fitted` shown.
    ValueSpan Apply(ValueSpan fitted) const;

    friend bool operator==(const ValueZoom&, const ValueZoom&) = default;

private:
    double m_from = 0.0;
    double m_to = 1.0;
};

// The round values (multiples of 1, 2 or 5 x 10^k) to label along an axis
// showing `shown` over `lengthPx` pixels, labels `spacingPx` apart at least:
// the finest such step that keeps them apart, and the decimals it needs.
struct RoundTicks {
    double step = 0.0;
    int decimals = 0;
    std::vector<double> values; // from low to high, all within `shown`
};
RoundTicks RoundValuesIn(ValueSpan shown, int lengthPx, int spacingPx);
