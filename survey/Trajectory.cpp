#include "survey/Trajectory.h"

#include "survey/Hypot.h"
#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"
#include "survey/SineCosine.h"
#include "survey/Stretches.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <mutex>
#include <vector>

namespace survey {

namespace {

// The mean of two neighbouring azimuths. A pair more than half a circle apart
// straddles north and is averaged the short way round (350 and 10 give 360).
double MeanAzimuth(double a, double b)
{
    const double mean = 0.5 * (a + b);
    return std::fabs(a - b) > 180 ? mean + 180 : mean;
}

// The direction of a reading as a unit vector East, North, Up: `azimuth`
// from grid north, `inclination` below the horizontal, both in radians.
struct Direction {
    double east, north, up;
};

Direction DirectionOf(double azimuth, double inclination)
{
    const SineCosine i = SineCosineOf(inclination);
    const SineCosine a = SineCosineOf(azimuth);
    return {i.cos * a.sin, i.cos * a.cos, -i.sin};
}

// The angle between two directions in radians, accurate for small and large
// angles alike.
double DoglegBetween(const Direction& a, const Direction& b)
{
    const double dot = a.east * b.east + a.north * b.north + a.up * b.up;
    const double cross = Hypot(a.north * b.up - a.up * b.north, a.up * b.east - a.east * b.up,
                               a.east * b.north - a.north * b.east);
    return std::atan2(cross, dot);
}

// The step between two readings `length` apart along the arc through both
// directions: the mean of the directions stretched by the ratio factor
// 2/β·tan(β/2) of their dogleg angle β (1 for a straight step).
Direction MinimumCurvatureStep(const Direction& a, const Direction& b, double length)
{
    const double dogleg = DoglegBetween(a, b);
    // Below 1e-4 rad the factor is 1 + β²/12 to within 1e-17.
    const double ratio = dogleg < 1e-4 ? 1.0 + dogleg * dogleg / 12.0 : 2.0 / dogleg * std::tan(dogleg / 2.0);
    const double half = 0.5 * length * ratio;
    return {half * (a.east + b.east), half * (a.north + b.north), half * (a.up + b.up)};
}

} // namespace

double DoglegDegrees(double azimuthA, double inclinationA, double azimuthB, double inclinationB)
{
    return DoglegBetween(DirectionOf(azimuthA * kDegToRad, inclinationA * kDegToRad),
                         DirectionOf(azimuthB * kDegToRad, inclinationB * kDegToRad))
         / kDegToRad;
}

bool TraversesBackwards(const CKestrixDoc& doc)
{
    return doc.m_nObs > 0 && doc.m_pObs[doc.m_nObs - 1].Depth < doc.m_pObs[0].Depth;
}

namespace {

// The horizontal length of a step that is not an average-angle step between readings.
constexpr double kNoHorizontal = std::numeric_limits<double>::quiet_NaN();

// Readings prepared and stepped together: their part of the table stays in
// the processor's cache between the two.
constexpr std::int32_t kBlock = 512;

// The step to reading `o` from its predecessor `p` along their averaged
// angles. The fall is stored negated: adding it is subtracting it, to the bit.
PositionStep AverageAngleStep(const Observation& p, const Observation& o, double declination)
{
    const SineCosine a = SineCosineOf((MeanAzimuth(o.AzUsed, p.AzUsed) - declination) * kDegToRad);
    const SineCosine inc = SineCosineOf(0.5 * (o.CalcIncl + p.CalcIncl) * kDegToRad);
    const double delta = o.Depth - p.Depth;
    const double horizontal = delta * inc.cos;
    return {horizontal * a.sin, horizontal * a.cos, -(delta * inc.sin), horizontal};
}

// AverageAngleStep(p, o, declination) when `kept` is that step under other
// azimuths: its horizontal length and rise stay.
PositionStep AverageAngleStepTurned(const Observation& p, const Observation& o, double declination, const PositionStep& kept)
{
    if (std::isnan(kept.horizontal))
        return AverageAngleStep(p, o, declination);
    const SineCosine a = SineCosineOf((MeanAzimuth(o.AzUsed, p.AzUsed) - declination) * kDegToRad);
    return {kept.horizontal * a.sin, kept.horizontal * a.cos, kept.up, kept.horizontal};
}

Direction DirectionOf(const Observation& o, double declination)
{
    // Azimuths on both sides of north need no rule: directions are vectors.
    return DirectionOf((o.AzUsed - declination) * kDegToRad, o.CalcIncl * kDegToRad);
}

PositionStep ArcStep(const Direction& p, const Direction& o, double length)
{
    const Direction arc = MinimumCurvatureStep(p, o, length);
    return {arc.east, arc.north, arc.up, kNoHorizontal};
}

// The step of reading `n` from reading `n - step`.
PositionStep StepTo(const CKestrixDoc& doc, int n, int step, double declination)
{
    const Observation& o = doc.m_pObs[n];
    const Observation& p = doc.m_pObs[n - step];
    if (doc.m_trajectory == TrajectoryMethod::MinimumCurvature)
        return ArcStep(DirectionOf(p, declination), DirectionOf(o, declination), o.Depth - p.Depth);
    return AverageAngleStep(p, o, declination);
}

// The steps of readings `from` to `to` - step (exclusive end), `step` apart in
// the table, each from the one before it. With `inclinationsKept` the steps
// of those readings were worked out before, under other azimuths.
void WorkOutSteps(CKestrixDoc& doc, int from, int to, int step, double declination, bool inclinationsKept)
{
    PositionStep* steps = doc.m_PositionSteps.data();
    if (doc.m_trajectory == TrajectoryMethod::MinimumCurvature) {
        // Each reading's direction serves the step to it and the step from it.
        Direction previous = DirectionOf(doc.m_pObs[from - step], declination);
        for (int n = from; n != to; n += step) {
            const Observation& o = doc.m_pObs[n];
            const Direction current = DirectionOf(o, declination);
            steps[n] = ArcStep(previous, current, o.Depth - doc.m_pObs[n - step].Depth);
            previous = current;
        }
        return;
    }
    if (inclinationsKept) {
        for (int n = from; n != to; n += step)
            steps[n] = AverageAngleStepTurned(doc.m_pObs[n - step], doc.m_pObs[n], declination, steps[n]);
        return;
    }
    for (int n = from; n != to; n += step)
        steps[n] = AverageAngleStep(doc.m_pObs[n - step], doc.m_pObs[n], declination);
}

// The reading traversed first, `first`, placed from the collar along its own
// direction; that offset is kept as its step.
void PlaceFirst(CKestrixDoc& doc, int first)
{
    Observation& start = doc.m_pObs[first];
    const SineCosine a = SineCosineOf((start.AzUsed - doc.DeclinationInForce()) * kDegToRad);
    const SineCosine inc = SineCosineOf(start.CalcIncl * kDegToRad);
    const double d = start.Depth;
    const PositionStep offset{d * inc.cos * a.sin, d * inc.cos * a.cos, -(d * inc.sin), kNoHorizontal};
    doc.m_PositionSteps[static_cast<std::size_t>(first)] = offset;
    start.East = doc.m_dEasting + offset.east;
    start.North = doc.m_dNorthing + offset.north;
    start.Height = doc.m_dHeight + offset.up;
}

// Positions of readings `from` to `to` - step (exclusive end), each the one
// before it plus its step.
void SumSteps(CKestrixDoc& doc, int from, int to, int step)
{
    if (from == to)
        return;
    const PositionStep* steps = doc.m_PositionSteps.data();
    const Observation& start = doc.m_pObs[from - step];
    double east = start.East, north = start.North, height = start.Height;
    for (int n = from; n != to; n += step) {
        Observation& o = doc.m_pObs[n];
        o.East = east += steps[n].east;
        o.North = north += steps[n].north;
        o.Height = height += steps[n].up;
    }
}

} // namespace

void CalcPositions(CKestrixDoc& doc)
{
    CalcPositions(doc, [](std::int32_t, std::int32_t) {}, false);
}

void CalcPositions(CKestrixDoc& doc, const std::function<void(std::int32_t, std::int32_t)>& prepare, bool inclinationsKept)
{
    const bool kept = inclinationsKept && doc.m_PositionSteps.size() == static_cast<std::size_t>(doc.m_nObs);
    doc.m_PositionSteps.resize(static_cast<std::size_t>(doc.m_nObs));
    if (doc.m_nObs == 0)
        return;
    const bool backwards = TraversesBackwards(doc);
    const double declination = doc.DeclinationInForce();

    // On both cores, a block at a time so that the readings just prepared are
    // still in the cache: the steps between readings of one stretch and,
    // traversed forward, the first stretch's positions, summed in order.
    std::mutex starting;
    std::vector<std::int32_t> starts; // of the stretches after the first
    std::int32_t summedTo = 1;        // readings before it have their positions
    ForStretches(doc.m_nObs, [&](std::int32_t begin, std::int32_t stop) {
        const bool sums = !backwards && begin == 0;
        for (std::int32_t block = begin; block < stop; block += kBlock) {
            const std::int32_t blockEnd = std::min(stop, block + kBlock);
            prepare(block, blockEnd);
            const std::int32_t later = std::max(block, begin + 1); // the first pair's later reading
            if (backwards) {
                WorkOutSteps(doc, blockEnd - 2, later - 2, -1, declination, kept);
                continue;
            }
            WorkOutSteps(doc, later, blockEnd, 1, declination, kept);
            if (sums) {
                if (block == 0)
                    PlaceFirst(doc, 0);
                SumSteps(doc, later, blockEnd, 1);
            }
        }
        const std::lock_guard lock(starting);
        if (sums)
            summedTo = stop;
        else if (begin > 0)
            starts.push_back(begin);
    });

    // The steps across stretches, then the positions not summed yet in the
    // order of the traversal.
    for (const std::int32_t start : starts) {
        if (backwards)
            doc.m_PositionSteps[static_cast<std::size_t>(start - 1)] = StepTo(doc, start - 1, -1, declination);
        else
            doc.m_PositionSteps[static_cast<std::size_t>(start)] = StepTo(doc, start, 1, declination);
    }
    if (backwards) {
        PlaceFirst(doc, doc.m_nObs - 1);
        SumSteps(doc, doc.m_nObs - 2, -1, -1);
    } else {
        SumSteps(doc, std::max(summedTo, 1), doc.m_nObs, 1);
    }
}

void RestepPositions(CKestrixDoc& doc, std::span<const std::int32_t> stale)
{
    if (stale.empty() || stale.front() >= doc.m_nObs)
        return;
    const double declination = doc.DeclinationInForce();
    for (const std::int32_t n : stale) {
        if (n == 0)
            PlaceFirst(doc, 0);
        else if (n < doc.m_nObs)
            doc.m_PositionSteps[static_cast<std::size_t>(n)] = StepTo(doc, n, 1, declination);
    }
    SumSteps(doc, std::max(stale.front(), 1), doc.m_nObs, 1);
}

} // namespace survey
