#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace survey {

// The spike finder's window arithmetic, shared by the full pass and the
// tracker that keeps its results up to date.

// Scales a median absolute deviation to a standard deviation for normally
// distributed noise.
inline constexpr double kMadToSigma = 1.4826;

// Median of the sorted, non-empty `v`; halves first so huge values cannot
// overflow.
double MedianOfSorted(const std::vector<double>& v);

// Median of |v[j] - median| for the sorted, non-empty `v`.
double MedianAbsoluteDeviation(const std::vector<double>& v, double median);

// Where the window of reading `i` begins among `n` readings: the `width`
// (at most n) readings centred on it, shifted inward at the two ends.
inline std::size_t WindowStart(std::size_t i, std::size_t halfWindow, std::size_t n, std::size_t width)
{
    const std::size_t centred = i > halfWindow ? i - halfWindow : 0;
    return centred < n - width ? centred : n - width;
}

// The finite values of a sliding window, kept sorted.
class SortedWindow {
public:
    void Add(double value);
    // Holds the finite ones of valueAt(0) to valueAt(count - 1), in the
    // order Add would give them one by one, in one sort.
    template <class ValueAt>
    void Fill(std::size_t count, ValueAt valueAt)
    {
        m_sorted.clear();
        for (std::size_t k = 0; k < count; ++k) {
            const double value = valueAt(k);
            if (std::isfinite(value))
                m_sorted.push_back(value);
        }
        // Stable, so equal values (such as 0 and -0) keep the order of their adding.
        std::stable_sort(m_sorted.begin(), m_sorted.end());
    }
    // Takes out `leaving` and puts in `entering`, moving only the values
    // that lie between the two.
    void Replace(double leaving, double entering);
    void Clear() { m_sorted.clear(); }
    const std::vector<double>& Sorted() const { return m_sorted; }

private:
    std::vector<double> m_sorted;
};

} // namespace survey
