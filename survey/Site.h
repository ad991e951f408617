#pragma once

#include "crs/Site.h"
#include "geomag/BuiltInModels.h"
#include "geomag/Date.h"
#include "geomag/Field.h"

#include <optional>
#include <string>

namespace survey {

// Where and when a survey was made, and which declination its positions
// use, as the survey's edits keep them.
struct Site {
    // A local mine grid: the collar's latitude and longitude and the grid's
    // convergence (degrees; positive when grid north lies east of true north).
    struct Location {
        double latitude = 0.0;
        double longitude = 0.0;
        double convergence = 0.0;
        bool operator==(const Location&) const = default;
    };
    enum class DeclinationFrom {
        File,  // the raw survey file's
        Model, // convergence less the model's declination at the collar
        Typed, // `typedDeclination`
    };

    // At most one of the two: the collar's projected grid by EPSG code, or a local grid.
    std::optional<int> epsg;
    std::optional<Location> location;
    std::optional<geomag::Date> date;
    geomag::ModelId model = geomag::kDefaultModel;
    DeclinationFrom declinationFrom = DeclinationFrom::File;
    double typedDeclination = 0.0;

    bool operator==(const Site&) const = default;
    bool HasPlace() const { return epsg || location; }
    // Nothing set: the survey as its raw file gives it.
    bool IsEmpty() const { return *this == Site{}; }
};

// The reference at a survey's collar: where it lies, the model's field there
// on the survey's date, and the declination that field gives the survey.
struct SiteReference {
    std::optional<crs::Site> place;
    std::optional<geomag::MagneticField> field; // needs the place and a date the model covers
    std::string problem;                        // why place or field is missing, for the user

    // Convergence less the model's declination: the value that, subtracted
    // from the magnetic azimuth, gives the grid azimuth.
    std::optional<double> SurveyDeclination() const
    {
        if (!place || !field)
            return std::nullopt;
        return place->convergence - field->declinationDegrees;
    }
};

// The reference for `site` at a collar (easting and northing in the grid's
// units, height in metres above the ellipsoid).
SiteReference ReferenceAt(const Site& site, double easting, double northing, double height);

// "D 3.42° E", "D 0.75° W": a model declination as maps give it.
std::string EastWestText(double declination);

} // namespace survey
