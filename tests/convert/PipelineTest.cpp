// From LAS file to loaded survey: the converter's output read by the survey
// core, and kestrix-batch convert followed by kestrix-batch dump.
#include "batch/ConvertCommand.h"
#include "batch/RunBatch.h"
#include "convert/LasConverter.h"
#include "CollarField.h"
#include "ConvertTestFiles.h"
#include "examples/DemoSurvey.h"
#include "NamedRows.h"
#include "SurveyFiles.h"
#include "textio/NumberText.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>

using namespace survey;
using namespace convert;

namespace {

const std::string kDemoLas = KESTRIX_EXAMPLES_DIR "/demo.las";
const std::string kDemoRaw = KESTRIX_EXAMPLES_DIR "/demo.txt";

using Values = std::array<double, 7>;

// The first seven numbers of each line after `marker` (the data of the demo
// LAS file, or the rows of a dump), read as the C library reads them.
std::vector<Values> Rows(const std::string& text, const std::string& marker)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line) && line.rfind(marker, 0) != 0) {
    }
    std::vector<Values> rows;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Values values{};
        std::string field;
        for (double& v : values)
            v = fields >> field ? std::strtod(field.c_str(), nullptr) : NAN;
        rows.push_back(values);
    }
    return rows;
}

// kestrix-batch convert with the demo's collar writes the committed raw
// survey file, and its dump holds the values of the LAS file.
TEST(Pipeline, DemoConvertsToTheCommittedRawSurveyWhoseDumpHoldsTheLasValues)
{
    ScratchFolder folder;
    std::ostringstream converted, dumped, err;
    ASSERT_EQ(RunBatch({"convert", kDemoLas, "-o", folder / "demo.txt", "--easting", std::to_string(demo::kEasting),
                        "--northing", std::to_string(demo::kNorthing), "--height", std::to_string(demo::kHeight),
                        "--declination", std::to_string(demo::kDeclination)},
                       converted, err),
              0) << err.str();
    EXPECT_TRUE(ReadFile(folder / "demo.txt") == ReadFile(kDemoRaw)) << "rebuild with the demo-files target";
    ASSERT_EQ(RunBatch({"dump", folder / "demo.txt"}, dumped, err), 0) << err.str();
    const std::vector<Values> las = Rows(ReadFile(kDemoLas), "~A");
    EXPECT_EQ(las.size(), static_cast<std::size_t>(demo::kSampleCount));
    EXPECT_EQ(Rows(dumped.str(), "Depth"), las);
}

// The demo's latitude and longitude are its grid's at the collar, and its
// raw survey file's declination is the model's there: convergence less D.
TEST(Pipeline, DemoRawSurveyTakesTheModelsDeclinationAtItsSite)
{
    const crs::SiteResult place = crs::SiteFromGrid(demo::kEpsg, demo::kEasting, demo::kNorthing);
    ASSERT_TRUE(place.site) << place.error;
    EXPECT_NEAR(place.site->latitude, demo::kLatitude, 1e-6);
    EXPECT_NEAR(place.site->longitude, demo::kLongitude, 1e-6);
    ScratchFolder folder;
    std::ostringstream out, err;
    ASSERT_EQ(RunBatch({"convert", kDemoLas, "-o", folder / "demo.txt", "--easting", std::to_string(demo::kEasting),
                        "--northing", std::to_string(demo::kNorthing), "--height", std::to_string(demo::kHeight),
                        "--declination", "model", "--crs", "EPSG:" + std::to_string(demo::kEpsg), "--date",
                        geomag::ToText(demo::kSurveyDate)},
                       out, err),
              0) << err.str();
    EXPECT_TRUE(ReadFile(folder / "demo.txt") == ReadFile(kDemoRaw)) << err.str();
}

double AngleBetween(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

// The survey core sees the hole the generator laid out: its inclination and
// roll everywhere, its azimuth away from the magnetic body and the spikes,
// a disturbed azimuth near the body and spikes worth deleting.
TEST(Pipeline, DemoSurveyShowsTheIntendedHole)
{
    CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, kDemoRaw), LoadResult::Loaded);
    double largestDisturbance = 0.0;
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        ASSERT_NEAR(o.CalcIncl, demo::HoleInclination(o.Depth), 0.05) << o.Depth;
        ASSERT_LT(AngleBetween(o.CalcRoll, demo::ProbeRoll(o.Depth)), 0.1) << o.Depth;
        const double deviation = AngleBetween(o.CalcAzMag, demo::HoleAzimuth(o.Depth));
        if (std::count(demo::kSpikeSamples.begin(), demo::kSpikeSamples.end(), i))
            EXPECT_GT(deviation, 10.0) << o.Depth;
        else if (o.Depth < demo::kDisturbedTop - 30 || o.Depth > demo::kDisturbedBottom + 30)
            ASSERT_LT(deviation, 0.3) << o.Depth;
        else if (o.Depth >= demo::kDisturbedTop && o.Depth <= demo::kDisturbedBottom)
            largestDisturbance = std::max(largestDisturbance, deviation);
    }
    EXPECT_GT(largestDisturbance, 5.0);
}

struct CollarRow {
    const char* name;
    Collar collar;
};

class CollarRoundTrip : public ::testing::TestWithParam<CollarRow> {};

TEST_P(CollarRoundTrip, EveryCollarTheConverterWritesLoadsBack)
{
    const Collar& c = GetParam().collar;
    ScratchFolder folder;
    WriteFile(folder / "in.las", "~C\nD:DEPTH\nX:MagX\nY:MagY\nZ:MagZ\nA:AccX\nB:AccY\nC:AccZ\n~A\n1 2 3 4 5 6 7\n");
    ASSERT_TRUE(ConvertLasFile(folder / "in.las", folder / "out.txt", c).Ok());
    CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, folder / "out.txt"), LoadResult::Loaded);
    EXPECT_EQ((std::array{doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight, doc.m_dDeclination}),
              (std::array{c.easting, c.northing, c.height, c.declination}));
}

INSTANTIATE_TEST_SUITE_P(Pipeline, CollarRoundTrip,
                         ::testing::Values(CollarRow{"Ordinary", {500000.25, 10000000, 350, 12.5}},
                                           CollarRow{"FarOut", {-1000000, -1000000, 1e10, -1234.5}}),
                         RowName());

struct UsageRow {
    const char* name;
    std::vector<std::string> args; // "@" stands for a LAS file, "@@" for one that is missing
    int status;
    std::string named; // what the message must name; "@" as in args
};

class ConvertUsage : public ::testing::TestWithParam<UsageRow> {};

TEST_P(ConvertUsage, FailsNamingTheFaultAndWritesNothing)
{
    ScratchFolder folder;
    const std::string las = folder / "hole.las";
    WriteFile(las, "~C\nD:DEPTH\n~A\n1\n");
    const auto placed = [&](const std::string& arg) { return arg == "@" ? las : arg == "@@" ? folder / "missing.las" : arg; };
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args)
        args.push_back(placed(arg));
    std::ostringstream out, err;
    EXPECT_EQ(RunConvertCommand(args, out, err), GetParam().status);
    EXPECT_NE(err.str().find(placed(GetParam().named)), std::string::npos) << err.str();
    EXPECT_EQ(folder.Entries().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    BatchConvert, ConvertUsage,
    ::testing::Values(UsageRow{"NoLasFile", {}, 2, "no LAS file"}, UsageRow{"TwoLasFiles", {"@", "@"}, 2, "one LAS file"},
                      UsageRow{"EastingWithLetters", {"@", "--easting", "12abc"}, 2, "--easting"},
                      UsageRow{"EastingWithATail", {"@", "--easting", "5x"}, 2, "--easting"},
                      UsageRow{"NorthingCommaDecimal", {"@", "--northing", "1,5"}, 2, "--northing"},
                      UsageRow{"HeightInfinite", {"@", "--height", "1e400"}, 2, "--height"},
                      UsageRow{"DeclinationNotANumber", {"@", "--declination", "nan"}, 2, "--declination"},
                      UsageRow{"UnknownOption", {"@", "--depth", "1"}, 2, "--depth"},
                      UsageRow{"OutputWithoutPath", {"@", "-o"}, 2, "-o"},
                      UsageRow{"MapWithoutUnits", {"@", "--map", "DEPTH=DEPT"}, 2, "--map"},
                      UsageRow{"MapOfOneAxis", {"@", "--map", "DEPTH=DEPT:ft"}, 2, "MagX is missing"},
                      UsageRow{"MapWithAnAccelerometerUnitOnAMagnetometer",
                               {"@", "--map", "DEPTH=D:m,MagX=X:m/s2,MagY=Y:G,MagZ=Z:G,AccX=A:g,AccY=B:g,AccZ=C:g"}, 2,
                               "m/s2"},
                      UsageRow{"MapGivenTwice", {"@", "--map", "auto", "--map", "auto"}, 2, "--map"},
                      UsageRow{"MapAutoCannotPlace", {"@", "--map", "auto"}, 1, "cannot place DEPTH, MagX"},
                      UsageRow{"MappedCurveNotInTheFile",
                               {"@", "--map", "DEPTH=D:m,MagX=QX:G,MagY=Y:G,MagZ=Z:G,AccX=A:g,AccY=B:g,AccZ=C:g"}, 1,
                               "MagX=QX"},
                      UsageRow{"MissingLasFile", {"@@"}, 1, "missing.las"},
                      UsageRow{"OutputOverTheLasFile", {"@", "-o", "@"}, 1, "@"},
                      UsageRow{"SiteWithoutModelDeclination", {"@", "--date", "2026-05-01", "--declination", "3"}, 2,
                               "serve --declination model"},
                      UsageRow{"ModelDeclinationWithoutDate", {"@", "--declination", "model", "--crs", "EPSG:32633"}, 2,
                               "--declination model needs --date"},
                      UsageRow{"ModelDeclinationOffTheGrid",
                               {"@", "--declination", "model", "--date", "2026-05-01", "--crs", "EPSG:4326"}, 1,
                               "declination model: EPSG:4326 (WGS 84) is a geographic"}),
    RowName());

TEST(BatchConvert, CollarOptionsInAnyOrder)
{
    ScratchFolder folder;
    const std::string las = folder / "hole.las";
    WriteFile(las, "~C\nD:DEPTH\n~A\n1\n");
    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand({"--declination", "-7.25", las, "--easting", " 500000.5", "--northing", "7.1e6"}, out, err), 0);
    EXPECT_EQ(out.str(), folder / "hole.txt\n");
    EXPECT_EQ(ReadFile(folder / "hole.txt"), "Collar coordinates:\r\nEasting   500000.50\r\nNorthing 7100000.00\r\n"
                                              "Height         0.00\r\nDeclination   -7.25\r\n     DEPTH\r\n   1.00000\r\n");
    EXPECT_EQ(err.str(), "kestrix-batch: Warning: the curve names lack MagX, MagY, MagZ, AccX, AccY, AccZ; kestrix will not "
                         "open the file\n");
}

struct ModelCollarRow {
    const char* name;
    std::vector<std::string> site; // after the collar's options
    CollarField expected;
};

class ModelCollar : public ::testing::TestWithParam<ModelCollarRow> {};

// The model's declination enters the raw survey file as convergence less D, in the file's form.
TEST_P(ModelCollar, DeclinationIsConvergenceLessTheModelsD)
{
    ScratchFolder folder;
    WriteFile(folder / "hole.las", "~C\nD:DEPTH\n~A\n1\n");
    std::vector<std::string> args{folder / "hole.las", "--easting", "512430", "--northing", "7034815", "--height",
                                  "286", "--declination", "model"};
    args.insert(args.end(), GetParam().site.begin(), GetParam().site.end());
    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand(args, out, err), 0) << err.str();
    const double declination = GetParam().expected.Declination();
    EXPECT_EQ(ReadFile(folder / "hole.txt").substr(84, 25), "Declination" + textio::Format("%8.2f\r\n    ", declination));
    EXPECT_EQ(err.str().rfind(textio::Format("kestrix-batch: declination %.2f: ", declination), 0), 0u) << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    BatchConvert, ModelCollar,
    ::testing::Values(ModelCollarRow{"UtmZone33", {"--crs", "EPSG:32633", "--date", "2026-05-01"},
                                     FieldAt(crs::SiteFromGrid(32633, 512430, 7034815), 286, {2026, 5, 1})},
                      ModelCollarRow{"TurnedLocalGridByWmm",
                                     {"--model", "wmm2025", "--location", "63.4", "15.2", "2.5", "--date", "2027-03-01"},
                                     FieldAt(crs::SiteFromLocalGrid(63.4, 15.2, 2.5), 286, {2027, 3, 1},
                                             geomag::ModelId::Wmm2025)}),
    RowName());

// Another maker's probe: its own mnemonics and units, a gamma curve among
// them, NULL rows. Mapped by the table, it gives the survey that the same
// readings written in metres, gauss and g give, less the NULL rows.
TEST(BatchConvert, AnotherProbesLasLoadsAsTheSurveyInKestrixUnits)
{
    ScratchFolder folder;
    WriteFile(folder / "probe.las", "~Version\n VERS. 2.0 :\n~Well\n NULL.  -999.25 : null\n~Curve\n"
                                    " DEPT.FT  :\n GR.API :\n HX.NT :\n HY.NT :\n HZ.NT :\n AX.MG :\n AY.MG :\n AZ.MG :\n"
                                    "~A\n100 51 12345 -2500 50000 100 -250 968\n"
                                    "110 52 -999.25 -2500 50000 100 -250 968\n"
                                    "120 -999.25 12000 -2450 50100 125 -240 970\n"
                                    "130 53 12100 -2400 50200 150 -230 -999.25\n");
    WriteFile(folder / "direct.txt", "Collar coordinates:\r\nEasting        1.00\r\nNorthing       2.00\r\n"
                                     "Height         3.00\r\nDeclination    4.00\r\n"
                                     "DEPTH MagX MagY MagZ AccX AccY AccZ\r\n"
                                     "30.48 0.12345 -0.025 0.5 0.1 -0.25 0.968\r\n"
                                     "36.576 0.12 -0.0245 0.501 0.125 -0.24 0.97\r\n");
    std::ostringstream out, err, mapped, direct;
    ASSERT_EQ(RunBatch({"convert", folder / "probe.las", "-o", folder / "mapped.txt", "--map", "auto", "--easting", "1",
                        "--northing", "2", "--height", "3", "--declination", "4"},
                       out, err),
              0)
        << err.str();
    EXPECT_EQ(err.str(), "kestrix-batch: curves mapped: DEPTH=DEPT:ft,MagX=HX:nT,MagY=HY:nT,MagZ=HZ:nT,AccX=AX:mg,"
                         "AccY=AY:mg,AccZ=AZ:mg\nkestrix-batch: Warning: 2 rows were left out: a mapped value was the "
                         "NULL value or not a number (first at line 16)\n");
    ASSERT_EQ(RunBatch({"dump", folder / "mapped.txt"}, mapped, err), 0) << err.str();
    ASSERT_EQ(RunBatch({"dump", folder / "direct.txt"}, direct, err), 0) << err.str();
    EXPECT_EQ(mapped.str(), direct.str());
}

struct DefaultOutputRow {
    const char* name;
    std::string las, raw;
};

class DefaultOutput : public ::testing::TestWithParam<DefaultOutputRow> {};

// Without -o the raw survey file takes the LAS file's name with its
// extension replaced, or with ".txt" added when the name has none.
TEST_P(DefaultOutput, ReplacesTheExtension)
{
    const DefaultOutputRow& row = GetParam();
    ScratchFolder folder;
    std::filesystem::create_directories(std::filesystem::path(folder / row.las).parent_path());
    WriteFile(folder / row.las, "~C\nD:DEPTH\n~A\n1\n");
    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand({folder / row.las}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), folder / row.raw + "\n");
    EXPECT_EQ(ReadFile(folder / row.raw).substr(0, 19), "Collar coordinates:");
}

INSTANTIATE_TEST_SUITE_P(BatchConvert, DefaultOutput,
                         ::testing::Values(DefaultOutputRow{"LasExtension", "hole.las", "hole.txt"},
                                           DefaultOutputRow{"UpperCaseExtension", "hole.LAS", "hole.txt"},
                                           DefaultOutputRow{"NoExtension", "short/x1", "short/x1.txt"},
                                           DefaultOutputRow{"DotInTheFolderOnly", "a.b/c", "a.b/c.txt"},
                                           DefaultOutputRow{"TwoExtensions", "x.dat.las", "x.dat.txt"},
                                           DefaultOutputRow{"ShortExtension", "hole.ls", "hole.txt"}),
                         RowName());

} // namespace
