#pragma once

#include "survey/Observation.h"
#include "survey/Orientation.h"
#include "survey/SineCosine.h"

#include <cmath>

namespace survey {

// One reading's part of each orientation step, shared by the steps and the
// passes that make several of them at once.

// CalcIncl from the accelerometer: 0 for a zero vector.
inline void OrientInclination(Observation& o)
{
    const double a = std::sqrt(o.AccX * o.AccX + o.AccY * o.AccY + o.AccZ * o.AccZ);
    o.CalcIncl = a > 0 ? std::acos(o.AccZ / a) / kDegToRad : 0.0;
}

// CalcRoll from AccX and AccY, plus the roll adjustment.
inline void OrientRoll(Observation& o, int rollAdjust)
{
    const double t = std::atan2(o.AccX, o.AccY);
    o.CalcRoll = t * -180.0 / kPi + 180.0 + rollAdjust;
    if (o.CalcRoll > 360)
        o.CalcRoll -= 360;
}

// MagH1, MagH2, MagV and the measured azimuth CalcAzMag (= AzUsed), on
// -180 to 180, from CalcIncl and CalcRoll.
inline void OrientAzimuth(Observation& o)
{
    const SineCosine roll = SineCosineOf(o.CalcRoll * kDegToRad);
    const SineCosine s = SineCosineOf((90 - o.CalcIncl) * kDegToRad);
    const double v = o.MagY * roll.cos - o.MagX * roll.sin;
    o.MagH1 = o.MagX * roll.cos + o.MagY * roll.sin;
    o.MagH2 = v * s.cos + o.MagZ * s.sin;
    o.MagV = v * s.sin - o.MagZ * s.cos;
    o.CalcAzMag = std::atan2(o.MagH1, o.MagH2) / kDegToRad;
    o.AzUsed = o.CalcAzMag;
}

// MagE, MagN, MagU with the azimuth in force, AzUsed.
inline void ResolveReading(Observation& o)
{
    const SineCosine a = SineCosineOf(o.AzUsed * kDegToRad);
    // MagH1 lies across the hole, to the left of its direction: east is
    // the along-hole part less that one.
    o.MagE = o.MagH2 * a.sin - o.MagH1 * a.cos;
    o.MagN = o.MagH1 * a.sin + o.MagH2 * a.cos;
    o.MagU = o.MagV;
}

} // namespace survey
