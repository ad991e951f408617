#include "survey/SpikeFinder.h"

#include "survey/KestrixDoc.h"
#include "survey/Median.h"
#include "survey/SpikeWindow.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace survey {

namespace {

void FlagDepartures(const std::vector<double>& values, std::size_t halfWindow, double threshold, double floor,
                    std::uint8_t bit, std::vector<std::uint8_t>& flags)
{
    const std::size_t n = values.size();
    const std::size_t width = std::min(2 * halfWindow + 1, n);
    SortedWindow window;
    for (std::size_t j = 0; j < width; ++j)
        window.Add(values[j]);
    std::size_t first = 0; // the window is values[first .. first + width)
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t wanted = WindowStart(i, halfWindow, n, width);
        if (wanted > first) { // the window moves by at most one reading a step
            window.Replace(values[first], values[first + width]);
            first = wanted;
        }
        const double value = values[i];
        if (std::isinf(value)) {
            flags[i] |= bit;
            continue;
        }
        const std::vector<double>& sorted = window.Sorted();
        if (std::isnan(value) || sorted.size() < 3)
            continue;
        const double median = MedianOfSorted(sorted);
        const double departure = std::fabs(value - median);
        // Most readings lie within the floor: they need no deviation.
        if (!(departure > floor))
            continue;
        if (departure > threshold * kMadToSigma * MedianAbsoluteDeviation(sorted, median))
            flags[i] |= bit;
    }
}

} // namespace

std::vector<std::uint8_t> FindSpikes(std::span<const QualityValues> values, const SpikeSettings& settings)
{
    const std::size_t n = values.size();
    std::vector<std::uint8_t> flags(n, 0);
    if (n == 0)
        return flags;
    // Clamped to the table, so 2k + 1 cannot overflow.
    const std::size_t halfWindow = std::min<std::size_t>(static_cast<std::size_t>(std::max(settings.halfWindow, 0)), n);

    std::vector<double> series(n);
    const auto judge = [&](double QualityValues::*quantity, double floor, SpikeFlag bit) {
        for (std::size_t i = 0; i < n; ++i)
            series[i] = values[i].*quantity;
        FlagDepartures(series, halfWindow, settings.threshold, floor, bit, flags);
    };
    std::vector<double> gravity(n);
    for (std::size_t i = 0; i < n; ++i)
        gravity[i] = values[i].totalGravity;
    const double oneG = MedianOfFinite(std::move(gravity));

    judge(&QualityValues::totalField, settings.fieldFloor, kFieldSpike);
    judge(&QualityValues::totalGravity, settings.gravityFloor * oneG, kGravitySpike);
    judge(&QualityValues::dip, settings.dipFloor, kDipSpike);
    return flags;
}

edit::DeleteObservations FlaggedReadings(const CKestrixDoc& doc, const SpikeSettings& settings)
{
    // A recalculated survey holds its readings' values already.
    std::vector<QualityValues> values;
    if (!doc.IsComputed()) {
        values.reserve(static_cast<std::size_t>(std::max(doc.m_nObs, 0)));
        for (std::int32_t i = 0; i < doc.m_nObs; ++i)
            values.push_back(QualityOf(doc.m_pObs[i]));
    }
    const std::vector<std::uint8_t> flags = FindSpikes(doc.IsComputed() ? doc.m_QualityValues : values, settings);
    edit::DeleteObservations flagged;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i] != 0)
            flagged.indices.push_back(static_cast<std::int32_t>(i));
    }
    return flagged;
}

bool IsSpikeHalfWindow(int k) { return k >= 0 && k <= kMaxSpikeHalfWindow; }
bool IsSpikeThreshold(double t) { return std::isfinite(t) && t > 0; }
bool IsSpikeFloor(double floor) { return std::isfinite(floor) && floor >= 0; }

bool IsValidSpikeSettings(const SpikeSettings& settings)
{
    return IsSpikeHalfWindow(settings.halfWindow) && IsSpikeThreshold(settings.threshold)
        && IsSpikeFloor(settings.fieldFloor) && IsSpikeFloor(settings.gravityFloor) && IsSpikeFloor(settings.dipFloor);
}

bool IsReferenceTolerance(double tolerance) { return std::isfinite(tolerance) && tolerance > 0; }

bool IsValidReferenceTolerances(const ReferenceTolerances& tolerances)
{
    return IsReferenceTolerance(tolerances.fieldNt) && IsReferenceTolerance(tolerances.dipDegrees)
        && IsReferenceTolerance(tolerances.gravityG);
}

static_assert(2 * kMaxSpikeHalfWindow >= CKestrixDoc::kMaxObservations, "a window must be able to hold any survey");

} // namespace survey
