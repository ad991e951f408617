#pragma once

#include "survey/QualityControl.h"
#include "survey/RunningMedian.h"
#include "survey/SpikeFinder.h"
#include "survey/SpikeWindow.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace survey {

// The spike finder's flags for a survey edited a little at a time. Each update
// lines the readings up with those of the update before (readings deleted,
// put back or changed) and works out a window's median again only where one
// of its readings came, went or changed, so deleting a reading or taking that
// back costs a few windows, not the survey. Values that moved only in their
// last places (a recalculation gives the dip anew) keep their windows, with a
// bound on how far those may lie from the exact ones; a reading is judged on
// its exact window only where that bound could change the verdict. A
// window's deviation is worked out only for a reading beyond the floor. The
// flags are always those FindSpikes gives for the same values and settings.
class SpikeTracker {
public:
    // Readings taken out of the values of the last update, or put back into
    // them, every other value as it was: indices ascending, in the longer of
    // the two lists.
    struct Splice {
        bool restored = false;
        std::span<const std::int32_t> indices;
    };

    // The SpikeFlag bits of every reading of `values`, valid until the next
    // update. With `splice` the caller vouches that `values` are the last
    // update's so changed, and only the readings about it are looked at.
    const std::vector<std::uint8_t>& Update(std::span<const QualityValues> values, const SpikeSettings& settings,
                                            const Splice* splice = nullptr);
    // How many windows' medians the last update worked out afresh (at most
    // three a reading).
    std::size_t WindowsWorkedOut() const { return m_worked; }
    // How many readings the last update flagged.
    std::size_t Flagged() const { return m_flagged; }
    // The median of the finite total gravities, as FindSpikes takes it for
    // one g; NaN without one.
    double MedianGravity() const { return m_oneG; }

private:
    // One reading's window in one quantity.
    struct Window {
        double median;    // NaN when the window holds fewer than three finite values
        double deviation; // median absolute deviation; NaN until a verdict needs it
        double slack;     // how far the median may lie from the exact one (the deviation twice that)
    };
    static constexpr std::size_t kQuantities = 3;

    // The exact window of reading `i` in `quantity`, deviation included.
    Window Exact(double QualityValues::*quantity, std::size_t i);
    // The exact medians of the readings `toWork` marks, sliding one window along.
    void WorkOut(double QualityValues::*quantity, const std::vector<char>& toWork, std::vector<Window>& windows);
    // The median of the total gravities, from the values.
    void ResetGravityMedian();
    // Follows values changed in place; false, with nothing changed, where
    // readings moved.
    bool FollowInPlace(std::span<const QualityValues> values, const SpikeSettings& settings);
    // Follows `splice`; false, with nothing changed, where it does not fit.
    bool FollowSplice(std::span<const QualityValues> values, const SpikeSettings& settings, const Splice& splice);
    // The flags in `quantities` (SpikeFlag bits) of the readings `toJudge`
    // marks, or of all; the others stay.
    void Judge(const SpikeSettings& settings, const std::vector<char>* toJudge = nullptr,
               std::uint8_t quantities = kFieldSpike | kGravitySpike | kDipSpike);
    // The SpikeFlag bits among `quantities` of reading `i`.
    std::uint8_t Verdict(std::size_t i, const double (&floors)[3], double times, std::uint8_t quantities);

    std::vector<QualityValues> m_values;
    std::array<std::vector<Window>, kQuantities> m_windows;
    std::size_t m_halfWindow = 0;
    std::size_t m_width = 0;
    SpikeSettings m_settings;
    RunningMedian m_gravityMedian;
    double m_oneG = 0.0;
    std::vector<std::uint8_t> m_flags;
    // Room for the work of an update, kept from one to the next.
    std::vector<std::int32_t> m_matched;
    std::vector<std::size_t> m_runStart;
    std::vector<char> m_sameWindow;
    std::array<std::vector<double>, kQuantities> m_drift;
    std::array<std::vector<std::uint32_t>, kQuantities> m_changedBefore;
    std::vector<Window> m_spareWindows;
    SortedWindow m_exactWindow; // reused by Exact, so a window costs no allocation
    std::vector<char> m_toWork;
    std::size_t m_flagged = 0;
    std::size_t m_worked = 0;
};

} // namespace survey
