#pragma once

#include "SurveyRows.h"
#include "geomag/BuiltInModels.h"
#include "geomag/Date.h"
#include "geomag/Field.h"

#include <cmath>
#include <variant>

// Raw readings of a probe in a known field, as the survey core's
// orientation chain reads its axes (the chain taken back out, as
// examples/DemoSurvey.cpp makes the demo).

struct FieldNeu {
    double north, east, up; // magnetic north, east and up, gauss
};

// At `inclination` below the horizontal, magnetic `azimuth` and `roll`
// (degrees), the accelerometer reading `gravity` in its own units.
inline Row ProbeReading(double depth, FieldNeu f, double inclination, double azimuth, double roll, double gravity)
{
    constexpr double rad = 0.017453292519943295;
    const double az = azimuth * rad, incl = inclination * rad, r = roll * rad;
    const double s = (90.0 - inclination) * rad, t = (180.0 - roll) * rad;
    const double h1 = f.north * std::sin(az) - f.east * std::cos(az), h2 = f.north * std::cos(az) + f.east * std::sin(az);
    const double across = h2 * std::cos(s) + f.up * std::sin(s);
    return {depth, h1 * std::cos(r) - across * std::sin(r), h1 * std::sin(r) + across * std::cos(r),
            h2 * std::sin(s) - f.up * std::cos(s), gravity * std::sin(incl) * std::sin(t),
            gravity * std::sin(incl) * std::cos(t), gravity * std::cos(incl)};
}

// A straight hole from RawSurveyText's collar height in IGRF-14's field on
// 1 June 2008 at the collar's latitude and longitude and each reading's
// height (a steep hole strays a few metres sideways: hundredths of a nT).
struct ModelHole {
    double latitude = 63.1, longitude = 15.0;
    double inclination = 85.0;
    int count = 201;
    double step = 1.0;     // metres
    double gravity = 9.82; // the accelerometer's reading
    double biasNt = 0.0;   // added to the field's strength
};

inline std::vector<Row> ModelHoleRows(const ModelHole& hole)
{
    const geomag::Model& model = geomag::BuiltInModel(geomag::ModelId::Igrf14);
    std::vector<Row> rows;
    for (int i = 0; i < hole.count; ++i) {
        const double height = 350.0 - i * hole.step * std::sin(hole.inclination * 0.017453292519943295);
        const auto f = std::get<geomag::MagneticField>(
            geomag::ComputeField(model, {hole.latitude, hole.longitude, height}, *geomag::DecimalYear(2008, 6, 1)));
        const double scale = (f.totalNt + hole.biasNt) / f.totalNt * 1e-5; // nT to gauss
        rows.push_back(ProbeReading(i * hole.step, {f.horizontalNt * scale, 0.0, -f.downNt * scale}, hole.inclination,
                                    30.0, std::fmod(37.0 * i, 360.0), hole.gravity));
    }
    return rows;
}
