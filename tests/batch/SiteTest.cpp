// The collar's site on the command line: kestrix-batch field against the
// field model itself, and what the site options refuse.
#include "BatchRunner.h"
#include "CollarField.h"
#include "NamedRows.h"
#include "textio/NumberText.h"

#include <gtest/gtest.h>

namespace {

struct FieldRow {
    const char* name;
    std::vector<std::string> args;
    CollarField expected;
    const char* convergence; // as printed
};

class FieldCommand : public ::testing::TestWithParam<FieldRow>, protected BatchRunner {};

TEST_P(FieldCommand, PrintsTheModelsFieldAndTheDeclinationItGives)
{
    const CollarField& e = GetParam().expected;
    ASSERT_EQ(Batch(GetParam().args), 0) << err.str();
    EXPECT_EQ(out.str(), textio::Format("latitude %.6f\nlongitude %.6f\nD %.4f\nI %.4f\nF %.1f\nH %.1f\nX %.1f\nY %.1f\n"
                                        "Z %.1f\nconvergence %s\ndeclination %.4f\n",
                                        e.place.latitude, e.place.longitude, e.field.declinationDegrees,
                                        e.field.inclinationDegrees, e.field.totalNt, e.field.horizontalNt,
                                        e.field.northNt, e.field.eastNt, e.field.downNt, GetParam().convergence,
                                        e.Declination()));
}

INSTANTIATE_TEST_SUITE_P(
    Batch, FieldCommand,
    ::testing::Values(FieldRow{"UtmZone10",
                               {"field", "--date", "2020-06-01", "--crs", "EPSG:32610", "--easting", "587274.232",
                                "--northing", "4140975.149"},
                               FieldAt(crs::SiteFromGrid(32610, 587274.232, 4140975.149), 0, {2020, 6, 1}),
                               "0.5992"},
                      FieldRow{"LocalGridPastLongitude180AtHeightByWmm",
                               {"field", "--location", "-33.9", "211.2", "--height", "1000", "--model", "wmm2025",
                                "--date", "2027-01-01"},
                               FieldAt(crs::SiteFromLocalGrid(-33.9, -148.8, 0), 1000, {2027, 1, 1}, geomag::ModelId::Wmm2025),
                               "0.0000"}),
    RowName());

struct RefusalRow {
    const char* name;
    std::vector<std::string> args; // "@" stands for the demo survey, which export writes beside the test
    int status;
    std::string error; // the first line on standard error, after "kestrix-batch: "
};

class Refusal : public ::testing::TestWithParam<RefusalRow>, protected BatchRunner {};

TEST_P(Refusal, NamesTheReasonAndWritesNothing)
{
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(arg == "@" ? std::string(KESTRIX_EXAMPLES_DIR) + "/demo.txt" : arg);
    if (args[0] == "export")
        args.insert(args.end(), {"-o", m_dir + "/out.xyz"});
    EXPECT_EQ(Batch(args), GetParam().status);
    EXPECT_EQ(err.str().substr(0, err.str().find('\n')), "kestrix-batch: " + GetParam().error);
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(m_folder.Entries().empty());
}

const std::string kOutsideWmm = "The date 2031.00 is outside WMM2025's range, 2025.0 to 2030.0";

INSTANTIATE_TEST_SUITE_P(
    Batch, Refusal,
    ::testing::Values(
        RefusalRow{"FieldWithoutDate", {"field", "--location", "60", "10"}, 2, "field needs --date"},
        RefusalRow{"FieldOutsideTheModelsYears", {"field", "--date", "2031-01-01", "--location", "60", "10", "--model",
                   "wmm2025"}, 1, kOutsideWmm},
        RefusalRow{"FieldOnAGeographicCrs", {"field", "--date", "2026-01-01", "--crs", "EPSG:4326", "--easting", "10",
                   "--northing", "60"}, 1, "EPSG:4326 (WGS 84) is a geographic coordinate reference system; the "
                   "collar's easting and northing need a projected one."},
        RefusalRow{"ModelDeclinationWithoutDate", {"export", "@", "--crs", "EPSG:32633", "--declination", "model"}, 1,
                   "declination model: The survey has no date."},
        RefusalRow{"ModelDeclinationOutsideTheModelsYears", {"export", "@", "--date", "2031-01-01", "--model", "wmm2025",
                   "--location", "63.4", "15.2", "--declination", "model"}, 1, "declination model: " + kOutsideWmm}),
    RowName());

} // namespace
