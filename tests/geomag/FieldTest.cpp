#include "NamedRows.h"
#include "geomag/BuiltInModels.h"
#include "geomag/Field.h"
#include "geomag/NormalGravity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <locale>
#include <sstream>
#include <string>

using namespace geomag;

namespace {

MagneticField FieldOf(ModelId id, const GeodeticPosition& at, double year)
{
    const auto result = ComputeField(BuiltInModel(id), at, year);
    if (const auto* refusal = std::get_if<FieldRefusal>(&result))
        ADD_FAILURE() << refusal->message;
    return std::get_if<MagneticField>(&result) ? std::get<MagneticField>(result) : MagneticField{};
}

// NOAA's published points, rounded to 0.1 nT and 0.01 degrees.
TEST(Wmm2025, GivesEveryPublishedTestPoint)
{
    std::ifstream file(KESTRIX_GEOMAG_DATA_DIR "/WMM2025_TEST_VALUES.txt");
    ASSERT_TRUE(file) << "the test points file is missing";
    int points = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream row(line);
        row.imbue(std::locale::classic());
        double year = 0, heightKm = 0, x = 0, y = 0, z = 0, h = 0, f = 0, i = 0, d = 0;
        GeodeticPosition at;
        row >> year >> heightKm >> at.latitudeDegrees >> at.longitudeDegrees;
        ASSERT_TRUE(row >> x >> y >> z >> h >> f >> i >> d);
        at.heightMetres = heightKm * 1000;
        SCOPED_TRACE(line);
        const MagneticField field = FieldOf(ModelId::Wmm2025, at, year);
        EXPECT_NEAR(field.northNt, x, 0.1);
        EXPECT_NEAR(field.eastNt, y, 0.1);
        EXPECT_NEAR(field.downNt, z, 0.1);
        EXPECT_NEAR(field.horizontalNt, h, 0.1);
        EXPECT_NEAR(field.totalNt, f, 0.1);
        EXPECT_NEAR(field.inclinationDegrees, i, 0.01);
        EXPECT_NEAR(field.declinationDegrees, d, 0.01);
        ++points;
    }
    EXPECT_EQ(points, 12);
}

struct PointRow {
    const char* name;
    GeodeticPosition at;
    double year;
    double declination, inclination, total;
};

class Igrf14Points : public ::testing::TestWithParam<PointRow> {};

TEST_P(Igrf14Points, GivePublishedValues)
{
    const PointRow& row = GetParam();
    const MagneticField field = FieldOf(ModelId::Igrf14, row.at, row.year);
    EXPECT_NEAR(field.declinationDegrees, row.declination, 0.001);
    EXPECT_NEAR(field.inclinationDegrees, row.inclination, 0.001);
    EXPECT_NEAR(field.totalNt, row.total, 0.1);
}

INSTANTIATE_TEST_SUITE_P(
    Field, Igrf14Points,
    ::testing::Values(PointRow{"AfterItsLastEpoch", {44.94, 138.29, 139.86e3}, 2027.9, -10.3424, 60.3982, 48893.40},
                      PointRow{"BetweenEpochs", {55.49, 24.06, 34.18e3}, 1990.6, 4.2422, 70.0982, 49426.62}),
    RowName());

struct RefusalRow {
    const char* name;
    ModelId model;
    GeodeticPosition at;
    double year;
    const char* message;
};

class Refusals : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(Refusals, SayWhy)
{
    const RefusalRow& row = GetParam();
    const auto result = ComputeField(BuiltInModel(row.model), row.at, row.year);
    ASSERT_TRUE(std::holds_alternative<FieldRefusal>(result));
    EXPECT_EQ(std::get<FieldRefusal>(result).message, row.message);
}

const ModelId kIgrf = ModelId::Igrf14;

INSTANTIATE_TEST_SUITE_P(
    Field, Refusals,
    ::testing::Values(
        RefusalRow{"IgrfAfterItsRange", kIgrf, {}, 2031.2,
                   "The date 2031.20 is outside IGRF-14's range, 1900.0 to 2030.0"},
        RefusalRow{"IgrfJustBeforeNotRoundedIn", kIgrf, {}, 1899.999,
                   "The date 1899.99 is outside IGRF-14's range, 1900.0 to 2030.0"},
        RefusalRow{"WmmBeforeItsRange", ModelId::Wmm2025, {}, 2024.5,
                   "The date 2024.50 is outside WMM2025's range, 2025.0 to 2030.0"},
        RefusalRow{"DateNotANumber", kIgrf, {}, NAN, "The date is not a number"},
        RefusalRow{"LatitudeBeyondThePole", kIgrf, {90.5, 0, 0}, 2025,
                   "The latitude 90.5 is outside -90 to 90 degrees"},
        RefusalRow{"LatitudeNotANumber", kIgrf, {NAN, 0, 0}, 2025, "The latitude is not a number"},
        RefusalRow{"LongitudeInfinite", kIgrf, {0, INFINITY, 0}, 2025, "The longitude is not a finite number"},
        RefusalRow{"DeepBelowTheEllipsoid", kIgrf, {0, 0, -6000e3}, 2025,
                   "The height -6000000 m is outside -10 km to 1000 km"}),
    RowName());

TEST(Field, CoversBothEndsOfEachRange)
{
    for (const auto& [id, year] : {std::pair{kIgrf, 1900.0}, {kIgrf, 2030.0}, {ModelId::Wmm2025, 2025.0},
                                   {ModelId::Wmm2025, 2030.0}})
        EXPECT_TRUE(std::holds_alternative<MagneticField>(ComputeField(BuiltInModel(id), {10, 20, 0}, year))) << year;
}

TEST(Field, AtThePolesIsFiniteAndMeetsItsNeighbourhood)
{
    for (const ModelId id : {ModelId::Igrf14, ModelId::Wmm2025})
        for (const double latitude : {90.0, -90.0}) {
            SCOPED_TRACE(latitude);
            const MagneticField pole = FieldOf(id, {latitude, 30, 0}, 2026);
            const MagneticField near = FieldOf(id, {latitude * (1 - 1e-7), 30, 0}, 2026);
            EXPECT_NEAR(pole.northNt, near.northNt, 0.1);
            EXPECT_NEAR(pole.eastNt, near.eastNt, 0.1);
            EXPECT_NEAR(pole.downNt, near.downNt, 0.1);
        }
}

TEST(NormalGravity, MeetsWgs84AtTheEquatorAndPoles)
{
    EXPECT_NEAR(NormalGravity(0), 9.7803253359, 1e-9);
    EXPECT_NEAR(NormalGravity(90), 9.8321849378, 1e-9);
    EXPECT_NEAR(NormalGravity(-90), 9.8321849378, 1e-9);
    EXPECT_NEAR(NormalGravityInG(0), 9.7803253359 / 9.80665, 1e-10);
}

} // namespace
