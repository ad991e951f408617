#include "crs/Site.h"

#include <proj.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <utility>

namespace crs {

namespace {

// Half the step north that finds the convergence, in degrees (about 11 m): a
// central difference over it is good to 1e-9 degrees, and long enough that
// the grid coordinates' rounding does not show.
constexpr double kStepDegrees = 1e-4;

// How far, in the grid's units, a point may land from where it started after
// a trip to latitude and longitude and back; further means the projection
// cannot hold it.
constexpr double kRoundTrip = 0.01;

struct ContextFree {
    void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
struct ObjectFree {
    void operator()(PJ* object) const { proj_destroy(object); }
};
using Context = std::unique_ptr<PJ_CONTEXT, ContextFree>;
using Object = std::unique_ptr<PJ, ObjectFree>;

// A context of its own for every call: nothing shared between threads, and
// a call costs about a millisecond.
Context QuietContext()
{
    Context context(proj_context_create());
    if (context) {
        proj_log_level(context.get(), PJ_LOG_NONE);
        // PJ_LOG_NONE alone still lets "Cannot find proj.db" reach stderr.
        proj_log_func(context.get(), nullptr, [](void*, int, const char*) {});
        proj_context_set_enable_network(context.get(), 0);
    }
    return context;
}

SiteResult Refused(std::string error)
{
    return {std::nullopt, std::move(error)};
}

// In (-180, 180].
double NormalizedLongitude(double longitude)
{
    longitude = std::fmod(longitude, 360.0);
    if (longitude > 180.0)
        return longitude - 360.0;
    if (longitude <= -180.0)
        return longitude + 360.0;
    return longitude;
}

bool IsGeographic(PJ_TYPE type)
{
    return type == PJ_TYPE_GEOGRAPHIC_CRS || type == PJ_TYPE_GEOGRAPHIC_2D_CRS || type == PJ_TYPE_GEOGRAPHIC_3D_CRS;
}

// The degrees in one angle unit of a geographic CRS and its prime meridian's
// longitude east of Greenwich in degrees: some grids rest on systems in grads
// from Paris.
bool Angles(PJ_CONTEXT* context, const PJ* geographic, double& degreesPerUnit, double& meridian)
{
    const Object system(proj_crs_get_coordinate_system(context, geographic));
    const Object primeMeridian(proj_get_prime_meridian(context, geographic));
    double radiansPerUnit = 0.0, longitude = 0.0, meridianRadiansPerUnit = 0.0;
    if (!system || !primeMeridian
        || !proj_cs_get_axis_info(context, system.get(), 0, nullptr, nullptr, nullptr, &radiansPerUnit, nullptr,
                                  nullptr, nullptr)
        || !proj_prime_meridian_get_parameters(context, primeMeridian.get(), &longitude, &meridianRadiansPerUnit,
                                               nullptr))
        return false;
    degreesPerUnit = radiansPerUnit * 180.0 / std::numbers::pi;
    meridian = longitude * meridianRadiansPerUnit * 180.0 / std::numbers::pi;
    return std::isfinite(degreesPerUnit) && degreesPerUnit > 0.0 && std::isfinite(meridian);
}

bool Finite(const PJ_COORD& point)
{
    return std::isfinite(point.xy.x) && std::isfinite(point.xy.y);
}

} // namespace

std::optional<int> ParseEpsg(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    constexpr std::string_view prefix = "epsg:";
    if (text.size() <= prefix.size()
        || !std::equal(prefix.begin(), prefix.end(), text.begin(),
                       [](char lower, char c) { return lower == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); }))
        return std::nullopt;
    text.remove_prefix(prefix.size());
    // from_chars alone would take a minus sign.
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int code = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (error != std::errc() || end != text.data() + text.size() || code <= 0)
        return std::nullopt;
    return code;
}

std::string FormatEpsg(int code)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, code).ptr;
    return "EPSG:" + std::string(digits, end);
}

namespace {

// A projected grid opened through PROJ: the operation from its geographic
// system to it, in longitude-latitude and easting-northing order, and what
// converts that system's angles to degrees east of Greenwich.
struct Grid {
    Context context;
    Object projection;
    double degreesPerUnit = 0.0;
    double meridian = 0.0;
    std::string crsName;
    std::string called; // "EPSG:N (name)", for messages

    // Latitude (degrees) of a point given in the geographic system's units,
    // and its longitude east of Greenwich in (-180, 180].
    double Latitude(const PJ_COORD& angles) const { return angles.xy.y * degreesPerUnit; }
    double Longitude(const PJ_COORD& angles) const
    {
        return NormalizedLongitude(angles.xy.x * degreesPerUnit + meridian);
    }
    // The point's angles, or nothing when the grid cannot carry it back to
    // latitude and longitude and forth again.
    std::optional<PJ_COORD> Inverse(double easting, double northing) const
    {
        const PJ_COORD angles = proj_trans(projection.get(), PJ_INV, proj_coord(easting, northing, 0.0, 0.0));
        if (!Finite(angles))
            return std::nullopt;
        // Far outside its zone a projection's inverse can give a point that projects elsewhere.
        const PJ_COORD back = proj_trans(projection.get(), PJ_FWD, angles);
        if (!Finite(back) || std::hypot(back.xy.x - easting, back.xy.y - northing) > kRoundTrip)
            return std::nullopt;
        return angles;
    }
};

// The grid EPSG:`epsg`, or in `error` why it cannot be one.
std::optional<Grid> OpenGrid(int epsg, std::string& error)
{
    const std::string code = FormatEpsg(epsg);
    const std::string unknown = code + " is not a coordinate reference system PROJ knows.";
    if (epsg <= 0) {
        error = unknown;
        return std::nullopt;
    }
    Grid grid;
    grid.context = QuietContext();
    PJ_CONTEXT* const context = grid.context.get();
    if (!context) {
        error = "PROJ could not start.";
        return std::nullopt;
    }
    // Without its database PROJ knows no code at all; say so rather than blame this one.
    if (!proj_context_get_database_path(context)) {
        error = "PROJ's database of coordinate reference systems (proj.db) cannot be found; "
                "the proj-data package installs it.";
        return std::nullopt;
    }

    const Object named(proj_create(context, code.c_str()));
    if (!named || !proj_is_crs(named.get())) {
        error = unknown;
        return std::nullopt;
    }
    const char* const name = proj_get_name(named.get());
    grid.crsName = name ? name : "";
    grid.called = code + " (" + grid.crsName + ")";
    // A compound CRS names its horizontal system first.
    const bool compound = proj_get_type(named.get()) == PJ_TYPE_COMPOUND_CRS;
    const Object first(compound ? proj_crs_get_sub_crs(context, named.get(), 0) : nullptr);
    const PJ* const horizontal = first ? first.get() : named.get();
    const PJ_TYPE type = proj_get_type(horizontal);
    if (IsGeographic(type)) {
        error = grid.called + " is a geographic coordinate reference system; the collar's easting and northing "
                              "need a projected one.";
        return std::nullopt;
    }
    if (type != PJ_TYPE_PROJECTED_CRS) {
        error = grid.called + " is not a projected coordinate reference system; the collar's easting and "
                              "northing need one.";
        return std::nullopt;
    }

    // Longitude before latitude and easting before northing, whatever the CRS's own axis order.
    const Object geographic(proj_crs_get_geodetic_crs(context, horizontal));
    const Object operation(
        geographic ? proj_create_crs_to_crs_from_pj(context, geographic.get(), horizontal, nullptr, nullptr) : nullptr);
    grid.projection.reset(operation ? proj_normalize_for_visualization(context, operation.get()) : nullptr);
    if (!grid.projection || !Angles(context, geographic.get(), grid.degreesPerUnit, grid.meridian)) {
        error = "PROJ cannot carry " + grid.called + " to latitude and longitude.";
        return std::nullopt;
    }
    return grid;
}

} // namespace

SiteResult SiteFromGrid(int epsg, double easting, double northing)
{
    if (!std::isfinite(easting) || !std::isfinite(northing))
        return Refused("The collar's easting and northing must be finite numbers.");
    std::string error;
    const std::optional<Grid> grid = OpenGrid(epsg, error);
    if (!grid)
        return Refused(error);

    const std::string outside = "The collar's easting and northing lie outside what " + grid->called + " can project.";
    const std::optional<PJ_COORD> angles = grid->Inverse(easting, northing);
    if (!angles)
        return Refused(outside);

    const double latitude = grid->Latitude(*angles);
    const auto gridAt = [&](double degrees) {
        return proj_trans(grid->projection.get(), PJ_FWD,
                          proj_coord(angles->xy.x, degrees / grid->degreesPerUnit, 0.0, 0.0));
    };
    const PJ_COORD north = gridAt(std::min(latitude + kStepDegrees, 90.0));
    const PJ_COORD south = gridAt(std::max(latitude - kStepDegrees, -90.0));
    if (!Finite(north) || !Finite(south))
        return Refused(outside);
    // True north's bearing from grid north is -convergence.
    const double bearing = std::atan2(north.xy.x - south.xy.x, north.xy.y - south.xy.y);
    return {Site{latitude, grid->Longitude(*angles), -bearing * 180.0 / std::numbers::pi, grid->crsName}, {}};
}

GeographicResult GridToGeographic(int epsg, std::span<const std::pair<double, double>> points)
{
    GeographicResult result;
    const std::optional<Grid> grid = OpenGrid(epsg, result.error);
    if (!grid)
        return result;
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    result.points.reserve(points.size());
    for (const auto& [easting, northing] : points) {
        const std::optional<PJ_COORD> angles =
            std::isfinite(easting) && std::isfinite(northing) ? grid->Inverse(easting, northing) : std::nullopt;
        result.points.push_back(angles ? Geographic{grid->Latitude(*angles), grid->Longitude(*angles)}
                                       : Geographic{nan, nan});
    }
    return result;
}

SiteResult SiteFromLocalGrid(double latitude, double longitude, double convergence)
{
    if (!(latitude >= -90.0 && latitude <= 90.0))
        return Refused("The latitude must lie between -90 and 90 degrees.");
    if (!(longitude >= -180.0 && longitude < 360.0))
        return Refused("The longitude must lie between -180 and 360 degrees.");
    if (!(convergence >= -90.0 && convergence <= 90.0))
        return Refused("The grid convergence must lie between -90 and 90 degrees.");
    return {Site{latitude, NormalizedLongitude(longitude), convergence, {}}, {}};
}

} // namespace crs
