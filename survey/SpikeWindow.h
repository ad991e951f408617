#pragma once

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
    // Takes out `leaving` and puts in `entering`, moving only the values
    // that lie between the two.
    void Replace(double leaving, double entering);
    void Clear() { m_sorted.clear(); }
    const std::vector<double>& Sorted() const { return m_sorted; }

private:
    std::vector<double> m_sorted;
};

} // namespace survey
