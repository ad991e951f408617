#include "survey/AzimuthWrap.h"

#include <cmath>

namespace survey {

namespace {

// Twice the unit roundoff: a sum of n terms of one sign, made in order, lies
// within n * u of its exact value, relatively; the factor 2 covers the rest.
constexpr double kTwiceRoundoff = 0x1p-52;

bool MeanNearSouth(double sum, std::int32_t count)
{
    return std::fabs(sum / count - 180) < 20;
}

} // namespace

bool WrapsAzimuths(double sum, std::int32_t count)
{
    return count > 0 && MeanNearSouth(sum, count);
}

WrapTermSum SummedInOrder(double sum, std::int32_t count)
{
    return {sum, count * kTwiceRoundoff * sum, count};
}

WrapTermSum Changed(const WrapTermSum& kept, double terms, std::int32_t count)
{
    const std::int32_t changed = count < 0 ? -count : count;
    const double sum = count < 0 ? kept.sum - terms : kept.sum + terms;
    return {sum, kept.error + (changed + 1) * kTwiceRoundoff * (kept.sum + terms), kept.count + count};
}

std::optional<bool> WrapDecision(const WrapTermSum& kept)
{
    if (kept.count <= 0)
        return false;
    // The rule holds on one stretch of sums, so it decides alike for every
    // sum in the margin when it does at both ends; NaN decides nothing.
    const double margin = kept.error + kept.count * kTwiceRoundoff * (kept.sum + kept.error);
    const double low = (kept.sum - margin) / kept.count - 180;
    const double high = (kept.sum + margin) / kept.count - 180;
    if (low > -20 && high < 20)
        return true;
    if (high <= -20 || low >= 20)
        return false;
    return std::nullopt;
}

} // namespace survey
