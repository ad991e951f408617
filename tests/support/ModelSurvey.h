#pragma once

#include "ProbeReadings.h"
#include "geomag/BuiltInModels.h"
#include "geomag/Date.h"
#include "geomag/Field.h"

#include <cmath>
#include <variant>
#include <vector>

// A straight hole logged in the model's field: each reading made from
// IGRF-14 at the collar's latitude and longitude and the reading's own
// height (a steep hole strays a few metres sideways, a few hundredths of a
// nanotesla), in the raw survey file's units.
struct ModelHole {
    double latitude = 63.1, longitude = 15.0;
    double height = 350.0; // the collar's, as RawSurveyText writes it
    geomag::Date date{2008, 6, 1};
    double inclination = 85.0, azimuth = 30.0; // degrees; the azimuth magnetic
    int count = 201;
    double step = 1.0;      // metres between readings
    double gravity = 9.82;  // what the accelerometer reads, in its units
    double biasNt = 0.0;    // added to the field's strength
};

inline std::vector<Row> ModelHoleRows(const ModelHole& hole)
{
    const geomag::Model& model = geomag::BuiltInModel(geomag::ModelId::Igrf14);
    const double year = *geomag::DecimalYear(hole.date);
    std::vector<Row> rows;
    for (int i = 0; i < hole.count; ++i) {
        const double depth = i * hole.step;
        const double height = hole.height - depth * std::sin(hole.inclination * 0.017453292519943295);
        const auto computed = geomag::ComputeField(model, {hole.latitude, hole.longitude, height}, year);
        const geomag::MagneticField& f = std::get<geomag::MagneticField>(computed);
        const double scale = (f.totalNt + hole.biasNt) / f.totalNt * 1e-5; // nT to gauss
        rows.push_back(ProbeReading(depth, {f.horizontalNt * scale, 0.0, -f.downNt * scale}, hole.inclination,
                                    hole.azimuth, std::fmod(37.0 * i, 360.0), hole.gravity));
    }
    return rows;
}
