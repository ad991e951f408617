#include "NamedRows.h"
#include "crs/Site.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct EpsgRow {
    const char* name;
    const char* text;
    std::optional<int> code;
};

class EpsgText : public ::testing::TestWithParam<EpsgRow> {};

TEST_P(EpsgText, ReadsOnlyAPositiveCode)
{
    EXPECT_EQ(crs::ParseEpsg(GetParam().text), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Crs, EpsgText,
                         ::testing::Values(EpsgRow{"AnyCaseBlanksAround", " ePsg:32610\t", 32610},
                                           EpsgRow{"Letters", "EPSG:abc", {}}, EpsgRow{"NoPrefix", "4326x", {}},
                                           EpsgRow{"NoDigits", "EPSG:", {}}, EpsgRow{"Zero", "EPSG:0", {}},
                                           EpsgRow{"Negative", "EPSG:-5", {}},
                                           EpsgRow{"Overflow", "EPSG:99999999999", {}}),
                         RowName());

// A collar's site, or (`says` set) the refusal's words; NaN where not checked.
struct GridRow {
    const char* name;
    int epsg;
    double easting, northing;
    double latitude, longitude; // to 1e-6 degrees
    double convergence, tolerance;
    const char* says = nullptr;
};

class GridSite : public ::testing::TestWithParam<GridRow> {};

TEST_P(GridSite, GivesTheSiteOrSaysWhyNot)
{
    const GridRow& row = GetParam();
    const crs::SiteResult result = crs::SiteFromGrid(row.epsg, row.easting, row.northing);
    if (row.says) {
        EXPECT_FALSE(result.site);
        EXPECT_NE(result.error.find(row.says), std::string::npos) << result.error;
        return;
    }
    ASSERT_TRUE(result.site) << result.error;
    if (!std::isnan(row.latitude)) {
        EXPECT_NEAR(result.site->latitude, row.latitude, 1e-6);
        EXPECT_NEAR(result.site->longitude, row.longitude, 1e-6);
    }
    EXPECT_NEAR(result.site->convergence, row.convergence, row.tolerance);
}

GridRow Refusal(const char* name, int epsg, double easting, double northing, const char* says)
{
    return {name, epsg, easting, northing, kNaN, kNaN, kNaN, kNaN, says};
}

INSTANTIATE_TEST_SUITE_P(
    Crs, GridSite,
    ::testing::Values(
        GridRow{"UtmNorth", 32610, 587274.232, 4140975.149, 37.411462, -122.013800, 0.599188, 1e-5},
        GridRow{"Ed50Utm", 23031, 588319.02, 5770571.03, kNaN, kNaN, 1.016644, 1e-5},
        GridRow{"UsSurveyFeet", 2229, 6480000, 1840000, kNaN, kNaN, -0.154, 0.005},
        GridRow{"NorthingFirst", 2193, 2039122.41, 5782371.76, -38.0, 178.0, -3.083227, 1e-5},
        // The grid's origin: 52 grads north on the Paris meridian.
        GridRow{"GradsFromParis", 27572, 600000, 2200000, 46.8, 2.337229167, 0.0, 1e-9},
        // British National Grid with heights: its true origin, 49N 2W.
        GridRow{"CompoundWithHeight", 7405, 400000, -100000, 49.0, -2.0, 0.0, 1e-9},
        // The step north must not pass the pole; grid north runs along 0E.
        GridRow{"BesideSouthPole", 3031, 1, 0, -89.999991, 90.0, -90.0, 1e-6},
        Refusal("Geographic", 4326, 500000, 4000000, "EPSG:4326 (WGS 84) is a geographic"),
        Refusal("Geocentric", 4978, 500000, 4000000, "is not a projected"),
        Refusal("Unknown", 999999, 500000, 4000000, "EPSG:999999 is not a coordinate reference system PROJ knows"),
        Refusal("NotFinite", 32610, kNaN, 4000000, "finite"),
        // The inverse gives a latitude whose forward lands 1e9 m away.
        Refusal("FarOutsideTheZone", 32610, 587274.232, 1e9, "outside")),
    RowName());

// Many points of one grid at once; NaN where a point has none, or (`says`
// set) the grid's refusal.
struct PointsRow {
    const char* name;
    int epsg;
    std::vector<std::pair<double, double>> points;
    std::vector<crs::Geographic> expected; // to 1e-6 degrees
    const char* says = "";
};

class GridPoints : public ::testing::TestWithParam<PointsRow> {};

TEST_P(GridPoints, GiveEachPointsLatitudeAndLongitude)
{
    const PointsRow& row = GetParam();
    const crs::GeographicResult result = crs::GridToGeographic(row.epsg, row.points);
    EXPECT_NE(result.error.find(row.says), std::string::npos) << result.error;
    ASSERT_EQ(result.points.size(), row.expected.size());
    for (std::size_t i = 0; i < row.expected.size(); ++i) {
        const crs::Geographic& p = result.points[i];
        if (std::isnan(row.expected[i].latitude)) {
            EXPECT_TRUE(std::isnan(p.latitude) && std::isnan(p.longitude)) << i;
            continue;
        }
        EXPECT_NEAR(p.latitude, row.expected[i].latitude, 1e-6) << i;
        EXPECT_NEAR(p.longitude, row.expected[i].longitude, 1e-6) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Crs, GridPoints,
    ::testing::Values(
        // 1e9 m north the inverse does not come back.
        PointsRow{"UtmWithPointsItCannotHold", 32610, {{587274.232, 4140975.149}, {587274.232, 1e9}, {kNaN, 0}},
                  {{37.411462, -122.013800}, {kNaN, kNaN}, {kNaN, kNaN}}},
        PointsRow{"NorthingFirst", 2193, {{2039122.41, 5782371.76}}, {{-38.0, 178.0}}},
        PointsRow{"Unknown", 999999, {{500000, 4000000}}, {}, "EPSG:999999 is not a coordinate reference system"}),
    RowName());

// Without proj.db no code is known: the user is told of the database, not
// of the code, and PROJ's own complaint stays off the terminal.
TEST(Crs, MissingDatabaseIsNamedQuietly)
{
    const char* previous = std::getenv("PROJ_DATA");
    const std::string saved = previous ? previous : "";
    ::setenv("PROJ_DATA", "/nonexistent", 1);
    ::testing::internal::CaptureStderr();
    const crs::SiteResult result = crs::SiteFromGrid(32610, 587274.232, 4140975.149);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    previous ? ::setenv("PROJ_DATA", saved.c_str(), 1) : ::unsetenv("PROJ_DATA");
    EXPECT_NE(result.error.find("proj.db"), std::string::npos) << result.error;
}

// A local grid's site as typed; NaN `longitudeBack`: refused.
struct LocalRow {
    const char* name;
    double latitude, longitude, convergence, longitudeBack;
};

class LocalGrid : public ::testing::TestWithParam<LocalRow> {};

TEST_P(LocalGrid, ChecksAndNormalizes)
{
    const LocalRow& row = GetParam();
    const crs::SiteResult result = crs::SiteFromLocalGrid(row.latitude, row.longitude, row.convergence);
    ASSERT_EQ(result.site.has_value(), !std::isnan(row.longitudeBack)) << result.error;
    if (result.site) {
        EXPECT_EQ(result.site->longitude, row.longitudeBack);
    }
}

INSTANTIATE_TEST_SUITE_P(Crs, LocalGrid,
                         ::testing::Values(LocalRow{"EastOf180", 60, 350, 1.5, -10},
                                           LocalRow{"MinusOneEighty", -90, -180, -90, 180},
                                           LocalRow{"PastThePole", 90.5, 0, 0, kNaN},
                                           LocalRow{"Longitude360", 0, 360, 0, kNaN},
                                           LocalRow{"ConvergencePast90", 0, 0, 90.5, kNaN},
                                           LocalRow{"NaNConvergence", 0, 0, kNaN, kNaN}),
                         RowName());

} // namespace
