#include "views/ValueAxis.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The zoomed part stays within these multiples of the fitted range.
constexpr double kNarrowest = 1.0e-6;
constexpr double kWidest = 1.0e3;
// At most this many labels, whatever the axis's length in pixels.
constexpr double kMostLabels = 1000.0;

} // namespace

ValueSpan FitWithMargin(const ValueExtent& extent, double leastLength)
{
    const double least = std::isfinite(leastLength) && leastLength > 0.0 ? leastLength : 0.0;
    if (extent.IsEmpty())
        return {-std::max(least, 1.0), std::max(least, 1.0)};
    const ValueSpan span = extent.Span();
    const double middle = std::midpoint(span.low, span.high);
    // A flat curve still gets a range: one part in a billion of its level, at least.
    const double length = std::max({span.Length(), least, 1.0e-9 * std::max(1.0, std::abs(middle))});
    const double half = length * (0.5 + kFitMargin);
    return {middle - half, middle + half};
}

void ValueZoom::Zoom(double fraction, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor))
        return;
    fraction = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.5;
    const double length = m_to - m_from;
    const double newLength = std::clamp(length / factor, kNarrowest, kWidest);
    const double anchor = m_from + fraction * length;
    m_from = anchor - fraction * newLength;
    m_to = m_from + newLength;
}

ValueSpan ValueZoom::Apply(ValueSpan fitted) const
{
    if (IsWhole())
        return fitted;
    const double length = fitted.Length();
    return {fitted.low + m_from * length, fitted.low + m_to * length};
}

RoundTicks RoundValuesIn(ValueSpan shown, int lengthPx, int spacingPx)
{
    RoundTicks round;
    const double length = shown.Length();
    if (!(length > 0.0) || !std::isfinite(length) || lengthPx <= 0)
        return round;
    const double least = std::max(length * std::max(spacingPx, 1) / lengthPx, length / kMostLabels);
    int exponent = static_cast<int>(std::floor(std::log10(least)));
    double decade = std::pow(10.0, exponent);
    double step = 0.0;
    for (int attempt = 0; attempt < 2 && step == 0.0; ++attempt) {
        for (double multiple : {1.0, 2.0, 5.0}) {
            if (multiple * decade >= least * (1.0 - 1e-12)) {
                step = multiple * decade;
                break;
            }
        }
        if (step == 0.0) {
            ++exponent;
            decade = std::pow(10.0, exponent);
        }
    }
    round.step = step;
    round.decimals = std::clamp(-exponent, 0, 15);
    // Multiples by index, so that no sum of steps drifts off the round values.
    const double first = std::ceil(shown.low / step - 1e-9);
    const double last = std::floor(shown.high / step + 1e-9);
    for (double k = first; k <= last; ++k)
        round.values.push_back(k * step == 0.0 ? 0.0 : k * step); // no -0
    return round;
}
