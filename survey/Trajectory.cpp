#include "survey/Trajectory.h"

#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"
#include "survey/SineCosine.h"

#include <cmath>

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
    const double cross = std::hypot(a.north * b.up - a.up * b.north, a.up * b.east - a.east * b.up,
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

// Steps from observation `from` - step to observation `to` - step (exclusive),
// `step` apart in the table, each from the one before it.
void StepPositions(CKestrixDoc& doc, int from, int to, int step)
{
    const double declination = doc.DeclinationInForce();
    if (doc.m_trajectory == TrajectoryMethod::MinimumCurvature) {
        // Azimuths on both sides of north need no rule: directions are vectors.
        // Each reading's direction serves the step to it and the step from it.
        const auto directionOf = [&](const Observation& o) {
            return DirectionOf((o.AzUsed - declination) * kDegToRad, o.CalcIncl * kDegToRad);
        };
        Direction previous = from != to ? directionOf(doc.m_pObs[from - step]) : Direction{};
        for (int n = from; n != to; n += step) {
            Observation& o = doc.m_pObs[n];
            const Observation& p = doc.m_pObs[n - step];
            const Direction current = directionOf(o);
            const Direction arc = MinimumCurvatureStep(previous, current, o.Depth - p.Depth);
            o.East = p.East + arc.east;
            o.North = p.North + arc.north;
            o.Height = p.Height + arc.up;
            previous = current;
        }
        return;
    }
    for (int n = from; n != to; n += step) {
        Observation& o = doc.m_pObs[n];
        const Observation& p = doc.m_pObs[n - step];
        const SineCosine a = SineCosineOf((MeanAzimuth(o.AzUsed, p.AzUsed) - declination) * kDegToRad);
        const SineCosine inc = SineCosineOf(0.5 * (o.CalcIncl + p.CalcIncl) * kDegToRad);
        const double delta = o.Depth - p.Depth;
        o.East = p.East + delta * inc.cos * a.sin;
        o.North = p.North + delta * inc.cos * a.cos;
        o.Height = p.Height - delta * inc.sin;
    }
}

} // namespace

void CalcPositions(CKestrixDoc& doc)
{
    if (doc.m_nObs == 0)
        return;
    const bool backwards = TraversesBackwards(doc);
    const int step = backwards ? -1 : 1;
    const int first = backwards ? doc.m_nObs - 1 : 0;

    const double declination = doc.DeclinationInForce();
    Observation& start = doc.m_pObs[first];
    {
        const SineCosine a = SineCosineOf((start.AzUsed - declination) * kDegToRad);
        const SineCosine inc = SineCosineOf(start.CalcIncl * kDegToRad);
        const double d = start.Depth;
        start.East = doc.m_dEasting + d * inc.cos * a.sin;
        start.North = doc.m_dNorthing + d * inc.cos * a.cos;
        start.Height = doc.m_dHeight - d * inc.sin;
    }
    StepPositions(doc, first + step, backwards ? -1 : doc.m_nObs, step);
}

void CalcPositionsFrom(CKestrixDoc& doc, int first)
{
    StepPositions(doc, first, doc.m_nObs, 1);
}

} // namespace survey
