#pragma once

#include "survey/QualityControl.h"
#include "survey/Site.h"

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace survey {

class CKestrixDoc;

// The model's main field at a reading: what a still, calibrated probe away
// from magnetic bodies reads there.
struct ReferenceReading {
    double totalNt;            // F
    double inclinationDegrees; // I, below the horizontal
    double horizontalNt;       // H, along magnetic north
    double downNt;             // Z
};

// The accelerometer's units, told by the median of the readings' finite
// total gravities: near 1 (0.5 to 1.5) g, near 9.8 (5 to 15) m/s², otherwise
// (or with no finite one) unknown.
enum class GravityUnit { Unknown, G, MetresPerSecondSquared };
GravityUnit GravityUnitOf(std::span<const QualityValues> values);

// The most depth between two readings where the model is evaluated; the
// readings between take the field interpolated by depth (the main field
// changes by well under 1 nT over it).
inline constexpr double kReferenceStationSpacing = 10.0; // metres

// The reference a survey's readings are judged by: the model's field along
// the hole, on the survey's date, at the readings' positions.
struct ReferenceField {
    // One per observation, as of the last recalculation; empty when the
    // survey has no place or no date the model covers.
    std::vector<ReferenceReading> readings;
    GravityUnit gravityUnit = GravityUnit::Unknown;
    // WGS84 normal gravity at the collar's latitude, in gravityUnit; NaN
    // when the unit is unknown or there is no reference.
    double gravity = std::numeric_limits<double>::quiet_NaN();

    bool IsKnown() const { return !readings.empty(); }

    // Where the model was last evaluated and for what, so that a
    // recalculation that moves no station evaluates nothing.
    struct Station {
        double depth, east, north, height;
        ReferenceReading field;
    };
    std::vector<Station> stations;
    Site stationSite;
    double stationCollar[3] = {}; // easting, northing, height
    std::vector<double> depths;   // every reading's
};

// Fills doc.m_reference from doc.m_site's reference at the collar and the
// readings' positions and quality values: a step of the recalculation chain,
// after CalcPositions and CalcQualityValues.
void CalcReferenceField(CKestrixDoc& doc);

} // namespace survey
