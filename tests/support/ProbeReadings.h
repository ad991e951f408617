#pragma once

#include "SurveyRows.h"

#include <cmath>

// The raw reading a probe gives in a known field, as the survey core's
// orientation chain reads its axes: the chain's inclination, roll and
// azimuth taken back out (as examples/DemoSurvey.cpp makes the demo).

// A field in magnetic north, east and up components, gauss.
struct FieldNeu {
    double north, east, up;
};

// The row at `depth` of a probe at `inclination` below the horizontal,
// magnetic `azimuth` and `roll` (degrees) in `field`, its accelerometer
// reading `gravity` in whatever units.
inline Row ProbeReading(double depth, FieldNeu field, double inclination, double azimuth, double roll, double gravity)
{
    constexpr double rad = 0.017453292519943295;
    const double az = azimuth * rad, incl = inclination * rad, r = roll * rad;
    const double s = (90.0 - inclination) * rad, t = (180.0 - roll) * rad;
    const double h1 = field.north * std::sin(az) - field.east * std::cos(az);
    const double h2 = field.north * std::cos(az) + field.east * std::sin(az);
    const double across = h2 * std::cos(s) + field.up * std::sin(s);
    return {depth,
            h1 * std::cos(r) - across * std::sin(r),
            h1 * std::sin(r) + across * std::cos(r),
            h2 * std::sin(s) - field.up * std::cos(s),
            gravity * std::sin(incl) * std::sin(t),
            gravity * std::sin(incl) * std::cos(t),
            gravity * std::cos(incl)};
}
