#pragma once

#include "survey/QualityControl.h"
#include "survey/SpikeFinder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace survey {

// The spike finder's flags for a survey edited a little at a time. Each update
// lines the quality values up with those of the update before (readings
// deleted, put back or changed) and works out the median and deviation again
// only for the windows whose readings changed, so deleting a reading or
// taking that back costs a few windows, not the survey. The flags are always
// those FindSpikes gives for the same values and settings.
class SpikeTracker {
public:
    // The SpikeFlag bits of every reading of `values`, valid until the next update.
    const std::vector<std::uint8_t>& Update(std::span<const QualityValues> values, const SpikeSettings& settings);
    // How many windows the last update worked out afresh (three a reading).
    std::size_t WindowsWorkedOut() const { return m_worked; }

private:
    // One reading's window in one quantity; a NaN median when the window
    // holds fewer than three finite values.
    struct Window {
        double median;
        double deviation; // median absolute deviation
    };
    static constexpr std::size_t kQuantities = 3;

    // The windows of the `changed` readings of `values` in `quantity`.
    void WorkOut(std::span<const QualityValues> values, double QualityValues::*quantity, std::size_t halfWindow,
                 std::size_t width, const std::vector<char>& changed, std::vector<Window>& windows);
    void Judge(const SpikeSettings& settings);

    std::vector<QualityValues> m_values;
    std::array<std::vector<Window>, kQuantities> m_windows;
    std::size_t m_halfWindow = 0;
    std::size_t m_width = 0;
    double m_oneG = 0.0; // the survey's median total gravity
    std::vector<std::uint8_t> m_flags;
    std::size_t m_worked = 0;
};

} // namespace survey
