#include "survey/SpikeWindow.h"

#include <algorithm>
#include <cmath>

namespace survey {

double MedianOfSorted(const std::vector<double>& v)
{
    const std::size_t m = v.size();
    return m % 2 ? v[m / 2] : 0.5 * v[m / 2 - 1] + 0.5 * v[m / 2];
}

// The deviations grow outward from the middle on both sides, so merging the
// two sides from the middle yields them in ascending order without sorting.
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

namespace {

// How many of the sorted `values` satisfy `below`, a test true for a leading
// run of them. A plain count: on a window of a few dozen values it beats a
// binary search, whose branches the processor cannot predict.
template <typename Test>
std::size_t Count(const std::vector<double>& values, Test below)
{
    std::size_t count = 0;
    for (double v : values)
        count += below(v);
    return count;
}

} // namespace

void SortedWindow::Add(double value)
{
    if (std::isfinite(value))
        m_sorted.insert(std::upper_bound(m_sorted.begin(), m_sorted.end(), value), value);
}

void SortedWindow::Replace(double leaving, double entering)
{
    if (!std::isfinite(leaving) || !std::isfinite(entering)) {
        if (std::isfinite(leaving))
            m_sorted.erase(std::lower_bound(m_sorted.begin(), m_sorted.end(), leaving));
        Add(entering);
        return;
    }
    const auto at = [this](std::size_t index) { return m_sorted.begin() + static_cast<std::ptrdiff_t>(index); };
    const std::size_t slot = Count(m_sorted, [leaving](double v) { return v < leaving; });
    if (entering > leaving) {
        const std::size_t end = Count(m_sorted, [entering](double v) { return v <= entering; });
        std::move(at(slot + 1), at(end), at(slot));
        m_sorted[end - 1] = entering;
    } else {
        const std::size_t begin = Count(m_sorted, [entering](double v) { return v < entering; });
        std::move_backward(at(begin), at(slot), at(slot + 1));
        m_sorted[begin] = entering;
    }
}

} // namespace survey
