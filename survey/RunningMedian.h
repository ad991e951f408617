#pragma once

#include <cstddef>
#include <vector>

namespace survey {

// The median of many finite values, as MedianOfFinite gives it, kept up as a
// few values come and go: only a band of the values about the middle is kept
// in order, so taking one out or putting one in costs the band, not all of
// them. After enough changes to one side the middle leaves the band, and the
// median is not known until the values are given again.
class RunningMedian {
public:
    // Starts anew from the finite ones of `values`.
    void Reset(std::vector<double> values);
    // Takes out one of the values equal to `value`, one the median was kept
    // of; puts `value` in. Non-finite values are passed over.
    void Remove(double value);
    void Add(double value);
    // Whether Median() is known.
    bool Known() const;
    // The median; NaN without values.
    double Median() const;

private:
    static constexpr std::size_t kBand = 1024; // values kept in order either side of the middle

    std::vector<double> m_band; // in ascending order
    std::size_t m_below = 0;    // values not above the band's first
    std::size_t m_above = 0;    // values not below its last
    bool m_lost = false;        // a value was taken out that the band cannot place
};

} // namespace survey
