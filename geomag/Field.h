#pragma once

#include "geomag/Model.h"

#include <string>
#include <variant>

namespace geomag {

// A place on the WGS84 ellipsoid, as GPS gives it.
struct GeodeticPosition {
    double latitudeDegrees = 0;  // -90 (south) to 90 (north)
    double longitudeDegrees = 0; // east of Greenwich; any finite value
    double heightMetres = 0;     // above the ellipsoid
};

// The heights a field is computed for: the models describe the field near the
// Earth's surface, and far below it the sums lose all meaning.
inline constexpr double kLowestHeightMetres = -10e3;
inline constexpr double kHighestHeightMetres = 1000e3;

// The main field at a place and date, in geodetic North/East/Down.
struct MagneticField {
    double northNt = 0;              // X
    double eastNt = 0;               // Y
    double downNt = 0;               // Z
    double horizontalNt = 0;         // H
    double totalNt = 0;              // F
    double declinationDegrees = 0;   // D, east of true north
    double inclinationDegrees = 0;   // I, below the horizontal
};

// Why a field was not computed, as a sentence for the user.
struct FieldRefusal {
    std::string message;
};

// The model's field at `position` on `decimalYear` (see Date.h), summed to
// the model's degree. Refused, with the range in the message, for a date the
// model does not cover or a position outside the limits above.
std::variant<MagneticField, FieldRefusal> ComputeField(const Model& model, const GeodeticPosition& position,
                                                       double decimalYear);

} // namespace geomag
