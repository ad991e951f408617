#include "survey/SpikeTracker.h"

#include "survey/Median.h"
#include "survey/SpikeWindow.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace survey {

namespace {

constexpr double QualityValues::*kQuantity[] = {&QualityValues::totalField, &QualityValues::totalGravity,
                                                &QualityValues::dip};
constexpr SpikeFlag kQuantityFlag[] = {kFieldSpike, kGravitySpike, kDipSpike};
constexpr std::int32_t kUnmatched = -1;

// Bit for bit, so that a value that changed in its last place counts as changed.
bool Same(const QualityValues& a, const QualityValues& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// For each reading of `now`, the one of `before` it is, or kUnmatched. `now`
// is taken as `before` with readings removed when it is shorter, with
// readings put in when it is longer, and with values changed in place
// otherwise; whatever does not fit that is unmatched, which costs time but
// never a wrong flag.
std::vector<std::int32_t> LineUp(std::span<const QualityValues> before, std::span<const QualityValues> now)
{
    const std::size_t n0 = before.size();
    std::vector<std::int32_t> matched(now.size(), kUnmatched);
    std::size_t removed = n0 > now.size() ? n0 - now.size() : 0;
    std::size_t inserted = now.size() > n0 ? now.size() - n0 : 0;
    std::size_t a = 0;
    for (std::size_t i = 0; i < now.size(); ++i) {
        while (removed > 0 && a < n0 && !Same(before[a], now[i])) {
            ++a;
            --removed;
        }
        if (a < n0 && Same(before[a], now[i]))
            matched[i] = static_cast<std::int32_t>(a++);
        else if (inserted > 0)
            --inserted;
        else
            ++a;
    }
    return matched;
}

} // namespace

const std::vector<std::uint8_t>& SpikeTracker::Update(std::span<const QualityValues> values,
                                                      const SpikeSettings& settings)
{
    const std::size_t n = values.size();
    const std::size_t halfWindow = std::min<std::size_t>(static_cast<std::size_t>(std::max(settings.halfWindow, 0)), n);
    const std::size_t width = std::min(2 * halfWindow + 1, n);
    const bool sameWindows = halfWindow == m_halfWindow && width == m_width && !m_values.empty();

    // A reading keeps its window's median and deviation when its window holds
    // the same readings, in the same order, as the window of the reading it
    // was before.
    std::vector<std::int32_t> matched(n, kUnmatched);
    if (sameWindows)
        matched = LineUp(m_values, values);
    std::vector<char> changed(n, 1);
    std::vector<std::size_t> runStart(n); // where the stretch of readings matched one after another begins
    for (std::size_t j = 0; j < n; ++j) {
        const bool follows = j > 0 && matched[j] > 0 && matched[j - 1] == matched[j] - 1;
        runStart[j] = follows ? runStart[j - 1] : j;
    }
    bool anyChanged = n != m_values.size();
    for (std::size_t i = 0; i < n; ++i) {
        anyChanged = anyChanged || matched[i] == kUnmatched;
        const std::size_t first = WindowStart(i, halfWindow, n, width);
        changed[i] = matched[i] == kUnmatched || matched[first] == kUnmatched || runStart[first + width - 1] > first
                     || static_cast<std::size_t>(matched[first])
                            != WindowStart(static_cast<std::size_t>(matched[i]), halfWindow, m_values.size(), width);
    }

    m_worked = 0;
    for (std::size_t q = 0; q < kQuantities; ++q) {
        std::vector<Window> windows(n);
        for (std::size_t i = 0; i < n; ++i) {
            if (!changed[i])
                windows[i] = m_windows[q][static_cast<std::size_t>(matched[i])];
        }
        WorkOut(values, kQuantity[q], halfWindow, width, changed, windows);
        m_windows[q] = std::move(windows);
    }
    if (anyChanged) {
        std::vector<double> gravity(n);
        for (std::size_t i = 0; i < n; ++i)
            gravity[i] = values[i].totalGravity;
        m_oneG = MedianOfFinite(std::move(gravity));
    }
    m_values.assign(values.begin(), values.end());
    m_halfWindow = halfWindow;
    m_width = width;
    Judge(settings);
    return m_flags;
}

void SpikeTracker::WorkOut(std::span<const QualityValues> values, double QualityValues::*quantity,
                           std::size_t halfWindow, std::size_t width, const std::vector<char>& changed,
                           std::vector<Window>& windows)
{
    const std::size_t n = values.size();
    SortedWindow window;
    std::size_t first = n; // the window holds values[first .. first + width); n: none yet
    for (std::size_t i = 0; i < n; ++i) {
        if (!changed[i]) {
            first = n; // a stretch of unchanged readings breaks the slide
            continue;
        }
        const std::size_t wanted = WindowStart(i, halfWindow, n, width);
        if (first == n) {
            window.Clear();
            for (std::size_t j = wanted; j < wanted + width; ++j)
                window.Add(values[j].*quantity);
        } else if (wanted > first) { // the window moves by at most one reading a step
            window.Replace(values[first].*quantity, values[first + width].*quantity);
        }
        first = wanted;
        const std::vector<double>& sorted = window.Sorted();
        if (sorted.size() < 3) {
            windows[i] = {std::numeric_limits<double>::quiet_NaN(), 0.0};
        } else {
            const double median = MedianOfSorted(sorted);
            windows[i] = {median, MedianAbsoluteDeviation(sorted, median)};
        }
        ++m_worked;
    }
}

void SpikeTracker::Judge(const SpikeSettings& settings)
{
    const std::size_t n = m_values.size();
    m_flags.assign(n, 0);
    const double floors[kQuantities] = {settings.fieldFloor, settings.gravityFloor * m_oneG, settings.dipFloor};
    for (std::size_t q = 0; q < kQuantities; ++q) {
        const std::vector<Window>& windows = m_windows[q];
        for (std::size_t i = 0; i < n; ++i) {
            const double value = m_values[i].*kQuantity[q];
            if (std::isinf(value)) {
                m_flags[i] |= kQuantityFlag[q];
                continue;
            }
            const Window& window = windows[i];
            if (std::isnan(value) || std::isnan(window.median))
                continue;
            const double departure = std::fabs(value - window.median);
            if (departure > floors[q] && departure > settings.threshold * kMadToSigma * window.deviation)
                m_flags[i] |= kQuantityFlag[q];
        }
    }
}

} // namespace survey
