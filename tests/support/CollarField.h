#pragma once

#include "crs/Site.h"
#include "geomag/BuiltInModels.h"
#include "geomag/Date.h"
#include "geomag/Field.h"

#include <variant>

// The model's field at a collar, worked out from the grid and the field model
// themselves, to check what the programs derive from them.
struct CollarField {
    crs::Site place;
    geomag::MagneticField field;
    // What a raw survey file's declination takes: convergence less D.
    double Declination() const { return place.convergence - field.declinationDegrees; }
};

inline CollarField FieldAt(const crs::SiteResult& place, double height, geomag::Date date,
                           geomag::ModelId model = geomag::kDefaultModel)
{
    const crs::Site& site = place.site.value();
    const geomag::GeodeticPosition position{site.latitude, site.longitude, height};
    return {site, std::get<geomag::MagneticField>(geomag::ComputeField(geomag::BuiltInModel(model), position,
                                                                       *geomag::DecimalYear(date)))};
}
