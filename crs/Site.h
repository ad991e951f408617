#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Where a borehole's collar lies on the Earth and how its grid turns against
// true north there. The one place kestrix asks PROJ anything: PROJ reads only
// its local database, never the network, and never writes to the terminal.
// Nothing here depends on the user's locale.

namespace crs {

// The code of "EPSG:N": the prefix in any case, N a positive decimal integer,
// blanks around the whole allowed. Nothing for other text ("4326",
// "EPSG:abc", "4326x", "EPSG:0", "EPSG: 4326").
std::optional<int> ParseEpsg(std::string_view text);

// "EPSG:N".
std::string FormatEpsg(int code);

// A collar's geodetic latitude and longitude in degrees, on the datum of its
// grid's own geographic system (longitude east of Greenwich, in
// (-180, 180]), and the grid convergence in degrees: the angle from true north
// to grid north, positive when grid north lies east of true north.
struct Site {
    double latitude = 0.0;
    double longitude = 0.0;
    double convergence = 0.0;
    std::string crsName; // e.g. "WGS 84 / UTM zone 10N"; empty on a local grid
};

// A site, or in `error` why there is none, in words fit to show the user.
struct SiteResult {
    std::optional<Site> site;
    std::string error;
};

// The site of a collar at `easting`, `northing` in the units of the projected
// CRS EPSG:`epsg`, whatever order that CRS gives its axes. A compound CRS
// whose horizontal system is projected is taken too. Refused: a code PROJ does
// not know, a CRS that is not projected, non-finite input, and a point the
// CRS cannot carry back to latitude and longitude and forth again.
SiteResult SiteFromGrid(int epsg, double easting, double northing);

// A point's geodetic latitude and longitude in degrees, as a Site's.
struct Geographic {
    double latitude = 0.0;
    double longitude = 0.0;
};

// Points of a grid in latitude and longitude, or in `error` why the grid
// cannot give any (then `points` is empty).
struct GeographicResult {
    std::vector<Geographic> points; // one per point given; NaN for one the grid cannot carry back
    std::string error;
};

// The latitude and longitude of many (easting, northing) points of the
// projected CRS EPSG:`epsg`, refused as SiteFromGrid refuses, with one PROJ
// context for them all: the points of a whole hole at once.
GeographicResult GridToGeographic(int epsg, std::span<const std::pair<double, double>> points);

// The site of a collar on a local mine grid, as the user types it: latitude
// in [-90, 90], longitude in [-180, 360) (given back in (-180, 180]) and a
// finite convergence within [-90, 90]; refused otherwise.
SiteResult SiteFromLocalGrid(double latitude, double longitude, double convergence);

} // namespace crs
