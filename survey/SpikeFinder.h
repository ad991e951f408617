#pragma once

#include "survey/EditOperations.h"
#include "survey/QualityControl.h"

#include <cstdint>
#include <span>
#include <vector>

namespace survey {

// How readings are judged against their neighbours. A reading departs in a
// quantity when its value lies further from the median of the window around
// it than `threshold` robust standard deviations (1.4826 x the window's median
// absolute deviation) and further than that quantity's floor; the floors keep
// a smooth, noise-free survey (deviations near zero) from flagging rounding.
struct SpikeSettings {
    int halfWindow = 10;        // k: the window holds 2k + 1 readings; below 0 counts as 0
    double threshold = 6.0;     // t, in robust standard deviations
    double fieldFloor = 50.0;   // total field, nT
    double gravityFloor = 0.01; // total gravity, in g, where 1 g is the survey's
                                // median total gravity (probes record m/s2 or g)
    double dipFloor = 0.2;      // dip, degrees

    friend bool operator==(const SpikeSettings&, const SpikeSettings&) = default;
};

// How far the survey's medians may lie from the model's reference field
// before the probe is in doubt: its magnetometer's scale, the two sensors'
// alignment, its accelerometer's scale.
struct ReferenceTolerances {
    double fieldNt = 300.0;    // total field less F, nT
    double dipDegrees = 0.25;  // dip less I, degrees
    double gravityG = 0.0025;  // total gravity less normal gravity, in g
                               // (times standard gravity for m/s2)
};

// The largest window half-width a user may choose: a window of 2k + 1
// readings then holds any survey.
inline constexpr int kMaxSpikeHalfWindow = 100000;

// The settings a user may choose, in the windows and in kestrix-batch alike:
// k from 0 to kMaxSpikeHalfWindow, t a finite number above 0, each floor a
// finite number not below 0.
bool IsSpikeHalfWindow(int k);
bool IsSpikeThreshold(double t);
bool IsSpikeFloor(double floor);
bool IsValidSpikeSettings(const SpikeSettings& settings);
// A tolerance is a finite number above 0.
bool IsReferenceTolerance(double tolerance);
bool IsValidReferenceTolerances(const ReferenceTolerances& tolerances);

// Which quantities a reading departs in: one bit each, so a view can mark them.
enum SpikeFlag : std::uint8_t {
    kFieldSpike = 1,
    kGravitySpike = 2,
    kDipSpike = 4,
};

// The SpikeFlag bits of every reading, in the order of `values`.
// - The window is the 2k + 1 readings centred on the reading, shifted inward
//   at the two ends of the table so it keeps 2k + 1 readings; a table shorter
//   than that is one window.
// - A NaN value neither flags nor enters a median; an infinite one always
//   flags and enters no median.
// - A reading whose window holds fewer than three finite values is not judged.
// - A NaN threshold or floor flags nothing in its quantity.
// Takes O(n k) time.
std::vector<std::uint8_t> FindSpikes(std::span<const QualityValues> values, const SpikeSettings& settings = {});

// Every reading of `doc` that the spike finder flags, judged on the readings
// as they are now, as the one edit that deletes them all.
edit::DeleteObservations FlaggedReadings(const CKestrixDoc& doc, const SpikeSettings& settings);

} // namespace survey
