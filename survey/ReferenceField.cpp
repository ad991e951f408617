#include "survey/ReferenceField.h"

#include "crs/Site.h"
#include "geomag/NormalGravity.h"
#include "geomag/Wgs84.h"
#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace survey {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr ReferenceReading kNoField{kNaN, kNaN, kNaN, kNaN};

// The readings where the model is evaluated: the first, the last, and each
// one whose next reading lies further than the spacing in depth from the
// station before it (so every reading lies between two stations at most the
// spacing apart, unless the readings themselves lie further apart).
std::vector<std::int32_t> StationIndices(const std::vector<double>& depths)
{
    std::vector<std::int32_t> stations;
    const auto n = static_cast<std::int32_t>(depths.size());
    if (n == 0)
        return stations;
    std::int32_t last = 0;
    stations.push_back(last);
    const auto near = [&](std::int32_t i) {
        return std::fabs(depths[static_cast<std::size_t>(i)] - depths[static_cast<std::size_t>(last)])
            <= kReferenceStationSpacing;
    };
    for (std::int32_t i = 1; i < n; ++i) {
        if (near(i))
            continue;
        if (i - 1 > last)
            stations.push_back(last = i - 1);
        if (!near(i))
            stations.push_back(last = i);
    }
    if (last != n - 1)
        stations.push_back(n - 1);
    return stations;
}

// A point `east` and `north` metres from the collar on its local grid, in
// latitude and longitude: the grid turned by its convergence to true north,
// then the metres taken as arcs on the WGS84 ellipsoid at the collar (a
// tangent plane, good to centimetres over a hole's reach).
crs::Geographic OffsetFrom(const crs::Site& collar, double east, double north)
{
    const double gamma = collar.convergence * kDegToRad;
    const double trueEast = east * std::cos(gamma) + north * std::sin(gamma);
    const double trueNorth = north * std::cos(gamma) - east * std::sin(gamma);
    const double phi = collar.latitude * kDegToRad;
    const double a = geomag::wgs84::kSemiMajorAxisKm * 1000.0, e2 = geomag::wgs84::kEccentricitySquared;
    const double w = 1.0 - e2 * std::sin(phi) * std::sin(phi);
    const double meridian = a * (1.0 - e2) / (w * std::sqrt(w)); // radius of curvature north-south
    const double primeVertical = a / std::sqrt(w);               // and east-west
    const double parallel = primeVertical * std::cos(phi);
    const double latitude = std::clamp(collar.latitude + trueNorth / meridian / kDegToRad, -90.0, 90.0);
    // At a pole every longitude is the same place.
    const double longitude = parallel > 1.0 ? collar.longitude + trueEast / parallel / kDegToRad : collar.longitude;
    return {latitude, longitude};
}

// The latitude and longitude of the stations' positions.
std::vector<crs::Geographic> PlacesOf(const Site& site, const crs::Site& collar, double collarEasting,
                                      double collarNorthing, const std::vector<ReferenceField::Station>& stations)
{
    if (site.epsg) {
        std::vector<std::pair<double, double>> points;
        points.reserve(stations.size());
        for (const ReferenceField::Station& s : stations)
            points.emplace_back(s.east, s.north);
        crs::GeographicResult places = crs::GridToGeographic(*site.epsg, points);
        if (places.points.size() == stations.size())
            return std::move(places.points);
        return std::vector<crs::Geographic>(stations.size(), crs::Geographic{kNaN, kNaN});
    }
    std::vector<crs::Geographic> places;
    places.reserve(stations.size());
    for (const ReferenceField::Station& s : stations)
        places.push_back(OffsetFrom(collar, s.east - collarEasting, s.north - collarNorthing));
    return places;
}

ReferenceReading FieldAt(const geomag::Model& model, double year, const crs::Geographic& place, double height)
{
    if (!std::isfinite(place.latitude) || !std::isfinite(place.longitude) || !std::isfinite(height))
        return kNoField;
    const auto field = geomag::ComputeField(model, {place.latitude, place.longitude, height}, year);
    const auto* f = std::get_if<geomag::MagneticField>(&field);
    return f ? ReferenceReading{f->totalNt, f->inclinationDegrees, f->horizontalNt, f->downNt} : kNoField;
}

double Lerp(double a, double b, double t)
{
    return a + (b - a) * t;
}

} // namespace

GravityUnit GravityUnitOf(std::span<const QualityValues> values)
{
    // The median lies within a range when both middle values do: counted,
    // not sorted, so a long survey costs one pass.
    std::size_t finite = 0, belowG = 0, aboveG = 0, belowMetric = 0, aboveMetric = 0;
    for (const QualityValues& q : values) {
        const double g = q.totalGravity;
        if (!std::isfinite(g))
            continue;
        ++finite;
        belowG += g < 0.5;
        aboveG += g > 1.5;
        belowMetric += g < 5.0;
        aboveMetric += g > 15.0;
    }
    const std::size_t half = finite > 0 ? (finite - 1) / 2 : 0;
    if (finite > 0 && belowG <= half && aboveG <= half)
        return GravityUnit::G;
    if (finite > 0 && belowMetric <= half && aboveMetric <= half)
        return GravityUnit::MetresPerSecondSquared;
    return GravityUnit::Unknown;
}

void CalcReferenceField(CKestrixDoc& doc)
{
    ReferenceField& reference = doc.m_reference;
    const SiteReference& collar = doc.m_siteReference;
    if (!collar.place || !collar.field || !doc.m_site.date || doc.m_nObs <= 0) {
        reference = ReferenceField{};
        return;
    }
    const double collarAt[3] = {doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight};
    const bool sameSite = reference.stationSite == doc.m_site && std::equal(collarAt, collarAt + 3, reference.stationCollar);

    // One pass over the table, then only the depths: a long survey's table
    // is larger than the processor's caches.
    const auto n = static_cast<std::size_t>(doc.m_nObs);
    std::vector<double>& depths = reference.depths;
    bool sameDepths = depths.size() == n;
    depths.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double depth = doc.m_pObs[static_cast<std::int32_t>(i)].Depth;
        sameDepths = sameDepths && depths[i] == depth;
        depths[i] = depth;
    }

    // The stations as they are now; those that have not moved keep their field.
    const std::vector<std::int32_t> indices = StationIndices(depths);
    std::vector<ReferenceField::Station> stations;
    stations.reserve(indices.size());
    std::vector<ReferenceField::Station> moved;
    std::vector<std::size_t> movedAt;
    for (const std::int32_t i : indices) {
        const Observation& o = doc.m_pObs[i];
        ReferenceField::Station station{o.Depth, o.East, o.North, o.Height, kNoField};
        const std::size_t k = stations.size();
        const ReferenceField::Station* before = sameSite && k < reference.stations.size() ? &reference.stations[k] : nullptr;
        if (before && before->depth == o.Depth && before->east == o.East && before->north == o.North
            && before->height == o.Height) {
            station.field = before->field;
        } else {
            moved.push_back(station);
            movedAt.push_back(k);
        }
        stations.push_back(station);
    }
    if (!moved.empty()) {
        const std::vector<crs::Geographic> places =
            PlacesOf(doc.m_site, *collar.place, doc.m_dEasting, doc.m_dNorthing, moved);
        const geomag::Model& model = geomag::BuiltInModel(doc.m_site.model);
        const double year = *geomag::DecimalYear(*doc.m_site.date);
        for (std::size_t j = 0; j < moved.size(); ++j)
            stations[movedAt[j]].field = FieldAt(model, year, places[j], moved[j].height);
    }

    // Every reading from the two stations around it, by depth; unless no
    // station and no depth moved since the last time.
    if (!moved.empty() || !sameDepths || reference.readings.size() != n) {
        reference.readings.resize(n);
        for (std::size_t s = 0; s < indices.size(); ++s) {
            const bool last = s + 1 == indices.size();
            const auto from = static_cast<std::size_t>(indices[s]);
            const auto to = last ? from + 1 : static_cast<std::size_t>(indices[s + 1]);
            const ReferenceReading& a = stations[s].field;
            const ReferenceReading& b = stations[last ? s : s + 1].field;
            const double top = depths[from];
            const double span = last ? 0.0 : depths[to] - top;
            for (std::size_t i = from; i < to; ++i) {
                const double t = span != 0 ? std::clamp((depths[i] - top) / span, 0.0, 1.0) : 0.0;
                reference.readings[i] = {Lerp(a.totalNt, b.totalNt, t),
                                         Lerp(a.inclinationDegrees, b.inclinationDegrees, t),
                                         Lerp(a.horizontalNt, b.horizontalNt, t), Lerp(a.downNt, b.downNt, t)};
            }
        }
    }

    reference.gravityUnit = GravityUnitOf(doc.m_QualityValues);
    const double latitude = collar.place->latitude;
    reference.gravity = reference.gravityUnit == GravityUnit::G                         ? geomag::NormalGravityInG(latitude)
                        : reference.gravityUnit == GravityUnit::MetresPerSecondSquared ? geomag::NormalGravity(latitude)
                                                                                        : kNaN;
    reference.stations = std::move(stations);
    reference.stationSite = doc.m_site;
    std::copy(collarAt, collarAt + 3, reference.stationCollar);
}

} // namespace survey
