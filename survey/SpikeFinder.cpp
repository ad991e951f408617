#include "survey/SpikeFinder.h"

#include "survey/KestrixDoc.h"
#include "survey/Median.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace survey {

namespace {

// Scales a median absolute deviation to a standard deviation for normally
// distributed noise.
constexpr double kMadToSigma = 1.4826;

// Median of the sorted, non-empty `v`; halves first so huge values cannot
// overflow.
double MedianOfSorted(const std::vector<double>& v)
{
    const std::size_t m = v.size();
    return m % 2 ? v[m / 2] : 0.5 * v[m / 2 - 1] + 0.5 * v[m / 2];
}

// Median of |v[j] - median| for the sorted `v`: the deviations grow outward
// from the middle on both sides, so merging the two sides from the middle
// yields them in ascending order without sorting.
double MedianAbsoluteDeviation(const std::vector<double>& v, double median)
{
    const std::size_t m = v.size();
    std::size_t left = m / 2;  // v[0 .. left) lie at or below the median
    std::size_t right = m / 2; // v[right .. m) lie at or above it
    double previous = 0.0, current = 0.0;
    for (std::size_t taken = 0; taken <= m / 2; ++taken) {
        previous = current;
        const bool takeLeft = left > 0 && (right == m || median - v[left - 1] < v[right] - median);
        current = takeLeft ? median - v[--left] : v[right++] - median;
    }
    return m % 2 ? current : 0.5 * previous + 0.5 * current;
}

// The finite values of a sliding window over `values`, kept sorted.
class SortedWindow {
public:
    void Add(double value)
    {
        if (std::isfinite(value))
            m_sorted.insert(std::upper_bound(m_sorted.begin(), m_sorted.end(), value), value);
    }
    // Takes out `leaving` and puts in `entering`, moving only the values
    // that lie between the two.
    void Replace(double leaving, double entering)
    {
        if (!std::isfinite(leaving) || !std::isfinite(entering)) {
            if (std::isfinite(leaving))
                m_sorted.erase(std::lower_bound(m_sorted.begin(), m_sorted.end(), leaving));
            Add(entering);
            return;
        }
        const auto at = [this](std::size_t index) { return m_sorted.begin() + static_cast<std::ptrdiff_t>(index); };
        const std::size_t slot = Count([leaving](double v) { return v < leaving; });
        if (entering > leaving) {
            const std::size_t end = Count([entering](double v) { return v <= entering; });
            std::move(at(slot + 1), at(end), at(slot));
            m_sorted[end - 1] = entering;
        } else {
            const std::size_t begin = Count([entering](double v) { return v < entering; });
            std::move_backward(at(begin), at(slot), at(slot + 1));
            m_sorted[begin] = entering;
        }
    }
    const std::vector<double>& Sorted() const { return m_sorted; }

private:
    // How many values satisfy `below`, a test true for a leading run of the
    // sorted values. A plain count: on a window of a few dozen values it
    // beats a binary search, whose branches the processor cannot predict.
    template <typename Test>
    std::size_t Count(Test below) const
    {
        std::size_t count = 0;
        for (double v : m_sorted)
            count += below(v);
        return count;
    }

    std::vector<double> m_sorted;
};

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
        const std::size_t wanted = std::min(i > halfWindow ? i - halfWindow : 0, n - width);
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
    std::vector<QualityValues> values;
    values.reserve(static_cast<std::size_t>(std::max(doc.m_nObs, 0)));
    for (std::int32_t i = 0; i < doc.m_nObs; ++i)
        values.push_back(QualityOf(doc.m_pObs[i]));
    const std::vector<std::uint8_t> flags = FindSpikes(values, settings);
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
