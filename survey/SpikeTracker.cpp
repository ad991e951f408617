#include "survey/SpikeTracker.h"

#include "survey/Median.h"
#include "survey/SpikeWindow.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <deque>
#include <limits>

namespace survey {

namespace {

constexpr double QualityValues::*kQuantity[] = {&QualityValues::totalField, &QualityValues::totalGravity,
                                                &QualityValues::dip};
constexpr SpikeFlag kQuantityFlag[] = {kFieldSpike, kGravitySpike, kDipSpike};
constexpr std::int32_t kUnmatched = -1;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// The same reading, as far as its sensors tell: field and gravity come from
// the raw vectors alone, bit for bit.
bool SameReading(const QualityValues& a, const QualityValues& b)
{
    return Same(a.totalField, b.totalField) && Same(a.totalGravity, b.totalGravity);
}

// For each reading of `now`, the one of `before` it is, or kUnmatched as
// `matched` holds it on entry. `now`
// is taken as `before` with readings removed when it is shorter, with
// readings put in when it is longer, and with values changed in place
// otherwise; whatever does not fit that is unmatched, which costs time but
// never a wrong flag.
void LineUp(std::span<const QualityValues> before, std::span<const QualityValues> now, std::vector<std::int32_t>& matched)
{
    const std::size_t n0 = before.size();
    std::size_t removed = n0 > now.size() ? n0 - now.size() : 0;
    std::size_t inserted = now.size() > n0 ? now.size() - n0 : 0;
    std::size_t a = 0;
    for (std::size_t i = 0; i < now.size(); ++i) {
        while (removed > 0 && a < n0 && !SameReading(before[a], now[i])) {
            ++a;
            --removed;
        }
        if (a < n0 && SameReading(before[a], now[i]))
            matched[i] = static_cast<std::int32_t>(a++);
        else if (inserted > 0)
            --inserted;
        else
            ++a;
    }
}

// How a matched reading's value moved: not at all, in its last places only
// (both finite, a billionth of their size apart at most), or otherwise.
enum class Move : char { None, Nudged, Changed };

Move MoveOf(double before, double now)
{
    if (Same(before, now))
        return Move::None;
    if (std::isfinite(before) && std::isfinite(now)
        && std::fabs(now - before) <= 1e-9 * std::max(std::fabs(before), std::fabs(now)))
        return Move::Nudged;
    return Move::Changed;
}

// The largest of `values` over windows [first, end) that only move forward.
class SlidingMaximum {
public:
    explicit SlidingMaximum(const std::vector<double>& values) : m_values(values) {}
    double Over(std::size_t first, std::size_t end)
    {
        for (; m_end < end; ++m_end) {
            while (!m_candidates.empty() && m_values[m_candidates.back()] <= m_values[m_end])
                m_candidates.pop_back();
            m_candidates.push_back(m_end);
        }
        while (!m_candidates.empty() && m_candidates.front() < first)
            m_candidates.pop_front();
        return m_candidates.empty() ? 0.0 : m_values[m_candidates.front()];
    }

private:
    const std::vector<double>& m_values;
    std::deque<std::size_t> m_candidates; // indices of decreasing values
    std::size_t m_end = 0;
};

// Takes the elements at `indices` (ascending, within `values`) out.
template <typename T>
void TakeOut(std::vector<T>& values, std::span<const std::int32_t> indices)
{
    const auto at = [&values](std::size_t k) { return values.begin() + static_cast<std::ptrdiff_t>(k); };
    auto out = at(static_cast<std::size_t>(indices.front()));
    for (std::size_t k = 0; k < indices.size(); ++k) {
        const std::size_t next = k + 1 < indices.size() ? static_cast<std::size_t>(indices[k + 1]) : values.size();
        out = std::move(at(static_cast<std::size_t>(indices[k]) + 1), at(next), out);
    }
    values.resize(values.size() - indices.size());
}

// Puts `filler` in at `indices` (ascending, within the longer `values`).
template <typename T>
void PutIn(std::vector<T>& values, std::span<const std::int32_t> indices, const T& filler)
{
    const auto at = [&values](std::size_t k) { return values.begin() + static_cast<std::ptrdiff_t>(k); };
    std::size_t endOld = values.size();
    values.resize(values.size() + indices.size());
    for (std::size_t k = indices.size(); k-- > 0;) {
        const std::size_t startOld = static_cast<std::size_t>(indices[k]) - k;
        std::move_backward(at(startOld), at(endOld), at(endOld + k + 1));
        values[static_cast<std::size_t>(indices[k])] = filler;
        endOld = startOld;
    }
}

// A bound on the rounding of the sums a verdict is made of, far above the
// last place of any of them.
double RoundingBound(double value, double median, double deviation, double floor)
{
    return 1e-12 * (std::fabs(value) + std::fabs(median) + deviation + floor);
}

} // namespace

const std::vector<std::uint8_t>& SpikeTracker::Update(std::span<const QualityValues> values,
                                                      const SpikeSettings& settings, const Splice* splice)
{
    if ((splice && FollowSplice(values, settings, *splice)) || FollowInPlace(values, settings))
        return m_flags;
    const std::size_t n = values.size();
    const std::size_t halfWindow = std::min<std::size_t>(static_cast<std::size_t>(std::max(settings.halfWindow, 0)), n);
    const std::size_t width = std::min(2 * halfWindow + 1, n);
    const bool sameWindows = halfWindow == m_halfWindow && width == m_width && !m_values.empty();

    // A reading may keep its window when its window holds the same readings,
    // in the same order, as the window of the reading it was before.
    std::vector<std::int32_t>& matched = m_matched;
    matched.assign(n, kUnmatched);
    if (sameWindows)
        LineUp(m_values, values, matched);
    std::vector<std::size_t>& runStart = m_runStart; // where the stretch of readings matched one after another begins
    runStart.resize(n);
    for (std::size_t j = 0; j < n; ++j) {
        const bool follows = j > 0 && matched[j] > 0 && matched[j - 1] == matched[j] - 1;
        runStart[j] = follows ? runStart[j - 1] : j;
    }
    std::vector<char>& sameWindow = m_sameWindow;
    sameWindow.resize(n);
    bool gravityAsBefore = n == m_values.size();
    for (std::size_t i = 0; i < n; ++i) {
        gravityAsBefore = gravityAsBefore && matched[i] != kUnmatched;
        const std::size_t first = WindowStart(i, halfWindow, n, width);
        sameWindow[i] = matched[i] != kUnmatched && matched[first] != kUnmatched && runStart[first + width - 1] <= first
                        && static_cast<std::size_t>(matched[first])
                               == WindowStart(static_cast<std::size_t>(matched[i]), halfWindow, m_values.size(), width);
    }

    // Per quantity and reading: how far its value drifted in its last places,
    // and how many readings up to it changed beyond that.
    std::array<std::vector<double>, kQuantities>& drift = m_drift;
    std::array<std::vector<std::uint32_t>, kQuantities>& changedBefore = m_changedBefore;
    std::array<bool, kQuantities> drifted{};
    for (std::size_t q = 0; q < kQuantities; ++q) {
        std::vector<std::uint32_t>& changed = changedBefore[q];
        changed.resize(n + 1);
        changed[0] = 0;
        drift[q].assign(n, 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            Move move = Move::Changed;
            if (matched[i] != kUnmatched) {
                const double before = m_values[static_cast<std::size_t>(matched[i])].*kQuantity[q];
                const double now = values[i].*kQuantity[q];
                move = MoveOf(before, now);
                if (move == Move::Nudged) {
                    drift[q][i] = std::fabs(now - before);
                    drifted[q] = true;
                }
            }
            changed[i + 1] = changed[i] + (move == Move::Changed ? 1 : 0);
        }
    }

    m_values.assign(values.begin(), values.end());
    m_halfWindow = halfWindow;
    m_width = width;
    m_worked = 0;
    for (std::size_t q = 0; q < kQuantities; ++q) {
        const std::vector<std::uint32_t>& changed = changedBefore[q];
        std::vector<Window>& windows = m_spareWindows;
        windows.resize(n);
        std::vector<char>& toWork = m_toWork;
        toWork.assign(n, 0);
        SlidingMaximum widest(drift[q]);
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t first = WindowStart(i, halfWindow, n, width);
            if (sameWindow[i] && changed[first + width] == changed[first]) {
                windows[i] = m_windows[q][static_cast<std::size_t>(matched[i])];
                if (drifted[q])
                    windows[i].slack += widest.Over(first, first + width);
            } else {
                toWork[i] = 1;
            }
        }
        std::swap(m_windows[q], windows);
        WorkOut(kQuantity[q], toWork, m_windows[q]);
    }
    if (!gravityAsBefore || !m_gravityMedian.Known())
        ResetGravityMedian();
    m_settings = settings;
    Judge(settings);
    return m_flags;
}

void SpikeTracker::ResetGravityMedian()
{
    std::vector<double> gravity(m_values.size());
    for (std::size_t i = 0; i < gravity.size(); ++i)
        gravity[i] = m_values[i].totalGravity;
    m_gravityMedian.Reset(std::move(gravity));
    m_oneG = m_gravityMedian.Median();
}

// Every reading where it was, some values changed: the windows about those
// are worked out, those about values nudged keep their medians with more
// slack, and only the readings of either are judged again.
bool SpikeTracker::FollowInPlace(std::span<const QualityValues> values, const SpikeSettings& settings)
{
    const std::size_t n = values.size();
    if (n == 0 || n != m_values.size() || !(settings == m_settings))
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (!SameReading(m_values[i], values[i]))
            return false;
    }
    // Field and gravity are the same where the readings are: only the dip moved.
    const std::size_t reach = m_width + 1;
    std::vector<char>& toWork = m_toWork;
    toWork.assign(n, 0);
    std::vector<double>& drift = m_drift[0];
    drift.assign(n, 0.0);
    bool drifted = false;
    for (std::size_t i = 0; i < n; ++i) {
        const double before = m_values[i].dip;
        const double now = values[i].dip;
        const Move move = MoveOf(before, now);
        if (move == Move::Changed) {
            std::fill(toWork.begin() + static_cast<std::ptrdiff_t>(i > reach ? i - reach : 0),
                      toWork.begin() + static_cast<std::ptrdiff_t>(std::min(i + reach + 1, n)), 1);
        } else if (move == Move::Nudged) {
            drift[i] = std::fabs(now - before);
            drifted = true;
        }
        m_values[i].dip = now;
    }
    std::vector<Window>& windows = m_windows[2];
    if (drifted) {
        SlidingMaximum widest(drift);
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t first = WindowStart(i, m_halfWindow, n, m_width);
            windows[i].slack += widest.Over(first, first + m_width);
        }
    }
    m_worked = 0;
    WorkOut(&QualityValues::dip, toWork, windows);
    // Readings whose windows drifted are judged again, all of them.
    Judge(settings, drifted ? nullptr : &toWork, kDipSpike);
    return true;
}

bool SpikeTracker::FollowSplice(std::span<const QualityValues> values, const SpikeSettings& settings,
                                const Splice& splice)
{
    const std::size_t n = values.size();
    const std::size_t before = m_values.size();
    const std::size_t count = splice.indices.size();
    const std::size_t longer = splice.restored ? n : before;
    if (count == 0 || !(settings == m_settings) || longer != (splice.restored ? before : n) + count)
        return false;
    const std::size_t halfWindow = std::min<std::size_t>(static_cast<std::size_t>(std::max(settings.halfWindow, 0)), n);
    if (halfWindow != m_halfWindow || std::min(2 * halfWindow + 1, n) != m_width)
        return false;
    for (std::size_t k = 0; k < count; ++k) {
        const std::int32_t index = splice.indices[k];
        if (index < 0 || static_cast<std::size_t>(index) >= longer || (k > 0 && index <= splice.indices[k - 1]))
            return false;
    }

    for (std::size_t k = 0; k < count; ++k) {
        const auto index = static_cast<std::size_t>(splice.indices[k]);
        if (splice.restored)
            m_gravityMedian.Add(values[index].totalGravity);
        else
            m_gravityMedian.Remove(m_values[index].totalGravity);
    }
    for (std::vector<Window>& windows : m_windows) {
        if (splice.restored)
            PutIn(windows, splice.indices, Window{kNaN, kNaN, 0.0});
        else
            TakeOut(windows, splice.indices);
    }
    m_values.assign(values.begin(), values.end());

    // Only windows within a window's width of a gap hold other readings than
    // before (those at the ends are shifted inward, so not only those about it).
    std::vector<char>& toWork = m_toWork;
    toWork.assign(n, 0);
    const auto mark = [&](std::size_t from, std::size_t to) {
        std::fill(toWork.begin() + static_cast<std::ptrdiff_t>(std::min(from, n)),
                  toWork.begin() + static_cast<std::ptrdiff_t>(std::min(to, n)), 1);
    };
    const std::size_t reach = m_width + 1;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t gap = static_cast<std::size_t>(splice.indices[k]) - (splice.restored ? 0 : k);
        mark(gap > reach ? gap - reach : 0, gap + reach + 1);
    }
    m_worked = 0;
    for (std::size_t q = 0; q < kQuantities; ++q)
        WorkOut(kQuantity[q], toWork, m_windows[q]);

    if (splice.restored)
        PutIn(m_flags, splice.indices, std::uint8_t{0});
    else
        TakeOut(m_flags, splice.indices);
    const double oneG = m_oneG;
    if (!m_gravityMedian.Known())
        ResetGravityMedian();
    m_oneG = m_gravityMedian.Median();
    // Another one g moves the gravity floor of every reading.
    Judge(settings, Same(oneG, m_oneG) ? &toWork : nullptr);
    return true;
}

SpikeTracker::Window SpikeTracker::Exact(double QualityValues::*quantity, std::size_t i)
{
    const std::size_t first = WindowStart(i, m_halfWindow, m_values.size(), m_width);
    SortedWindow& window = m_exactWindow;
    window.Fill(m_width, [&](std::size_t k) { return m_values[first + k].*quantity; });
    const std::vector<double>& sorted = window.Sorted();
    if (sorted.size() < 3)
        return {kNaN, 0.0, 0.0};
    const double median = MedianOfSorted(sorted);
    return {median, MedianAbsoluteDeviation(sorted, median), 0.0};
}

void SpikeTracker::WorkOut(double QualityValues::*quantity, const std::vector<char>& toWork,
                           std::vector<Window>& windows)
{
    const std::size_t n = m_values.size();
    SortedWindow window;
    std::size_t first = n; // the window holds m_values[first .. first + m_width); n: none yet
    for (std::size_t i = 0; i < n; ++i) {
        if (!toWork[i]) {
            first = n; // a stretch of kept windows breaks the slide
            continue;
        }
        const std::size_t wanted = WindowStart(i, m_halfWindow, n, m_width);
        if (first == n) {
            window.Fill(m_width, [&](std::size_t k) { return m_values[wanted + k].*quantity; });
        } else if (wanted > first) { // the window moves by at most one reading a step
            window.Replace(m_values[first].*quantity, m_values[first + m_width].*quantity);
        }
        first = wanted;
        const std::vector<double>& sorted = window.Sorted();
        windows[i] = {sorted.size() < 3 ? kNaN : MedianOfSorted(sorted), sorted.size() < 3 ? 0.0 : kNaN, 0.0};
        ++m_worked;
    }
}

void SpikeTracker::Judge(const SpikeSettings& settings, const std::vector<char>* toJudge, std::uint8_t quantities)
{
    const std::size_t n = m_values.size();
    const double floors[kQuantities] = {settings.fieldFloor, settings.gravityFloor * m_oneG, settings.dipFloor};
    const double times = settings.threshold * kMadToSigma;
    m_flags.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!toJudge || (*toJudge)[i])
            m_flags[i] = static_cast<std::uint8_t>((m_flags[i] & ~quantities) | Verdict(i, floors, times, quantities));
    }
    m_flagged = static_cast<std::size_t>(std::count_if(m_flags.begin(), m_flags.end(), [](std::uint8_t f) { return f != 0; }));
}

// A kept window decides wherever the verdict holds for every window within
// its slack of it; elsewhere the exact window is worked out and kept.
std::uint8_t SpikeTracker::Verdict(std::size_t i, const double (&floors)[3], double times, std::uint8_t quantities)
{
    std::uint8_t flags = 0;
    for (std::size_t q = 0; q < kQuantities; ++q) {
        if (!(quantities & kQuantityFlag[q]))
            continue;
        const double floor = floors[q];
        {
            const double value = m_values[i].*kQuantity[q];
            if (std::isinf(value)) {
                flags |= kQuantityFlag[q];
                continue;
            }
            Window& window = m_windows[q][i];
            if (std::isnan(value) || std::isnan(window.median))
                continue;
            if (window.slack > 0) {
                const double departure = std::fabs(value - window.median);
                const double known = std::isnan(window.deviation) ? 0.0 : window.deviation;
                const double bound = window.slack + RoundingBound(value, window.median, known, floor);
                if (departure + bound <= floor)
                    continue;
                if (departure - bound > floor && !std::isnan(window.deviation)) {
                    if (departure - bound > times * (window.deviation + 2 * bound)) {
                        flags |= kQuantityFlag[q];
                        continue;
                    }
                    if (departure + bound <= times * (window.deviation - 2 * bound))
                        continue;
                }
                window = Exact(kQuantity[q], i);
                ++m_worked;
            }
            const double departure = std::fabs(value - window.median);
            if (!(departure > floor))
                continue;
            if (std::isnan(window.deviation))
                window = Exact(kQuantity[q], i);
            if (departure > times * window.deviation)
                flags |= kQuantityFlag[q];
        }
    }
    return flags;
}

} // namespace survey
