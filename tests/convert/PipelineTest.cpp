// From LAS file to loaded survey: the converter's output read by the survey
// core, and kestrix-batch convert followed by kestrix-batch dump.
#include "batch/ConvertCommand.h"
#include "convert/LasConverter.h"
#include "ConvertTestFiles.h"
#include "examples/DemoSurvey.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>

using namespace survey;
using namespace convert;

namespace {

const std::string kDemoLas = KESTRIX_EXAMPLES_DIR "/demo.las";
const std::string kDemoRaw = KESTRIX_EXAMPLES_DIR "/demo.txt";
const Collar kDemoCollar{demo::kEasting, demo::kNorthing, demo::kHeight, demo::kDeclination};

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

LoadResult Load(CKestrixDoc& doc, const std::string& path)
{
    FileLineSource source(path);
    RecordingSink sink;
    return doc.LoadRawSurvey(path, source, sink);
}

TEST(Pipeline, DemoConvertsToTheCommittedRawSurveyAndLoadsWithTheLasValues)
{
    ScratchFolder folder;
    ASSERT_TRUE(ConvertLasFile(kDemoLas, folder / "demo.txt", kDemoCollar).Ok());
    EXPECT_TRUE(ReadFile(folder / "demo.txt") == ReadFile(kDemoRaw)) << "rebuild with the demo-files target";
    CKestrixDoc doc;
    ASSERT_EQ(Load(doc, folder / "demo.txt"), LoadResult::Loaded);
    EXPECT_EQ(doc.m_dNorthing, demo::kNorthing);
    EXPECT_EQ(doc.m_dDeclination, demo::kDeclination);
    const std::vector<Values> las = Rows(ReadFile(kDemoLas), "~A");
    ASSERT_EQ(las.size(), static_cast<std::size_t>(demo::kSampleCount));
    ASSERT_EQ(doc.m_nObs, demo::kSampleCount);
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        ASSERT_EQ((Values{o.Depth, o.MagX, o.MagY, o.MagZ, o.AccX, o.AccY, o.AccZ}), las[static_cast<std::size_t>(i)]) << i;
    }
}

double AngleBetween(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

// The survey core sees the hole the generator laid out: its inclination and
// roll everywhere, its azimuth away from the magnetic body and the spikes,
// a disturbed azimuth near the body and spikes worth deleting.
TEST(Pipeline, DemoSurveyShowsTheIntendedHole)
{
    CKestrixDoc doc;
    ASSERT_EQ(Load(doc, kDemoRaw), LoadResult::Loaded);
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

TEST(Pipeline, EveryCollarTheConverterWritesLoadsBack)
{
    ScratchFolder folder;
    WriteFile(folder / "in.las", "~C\nD:DEPTH\nX:MagX\nY:MagY\nZ:MagZ\nA:AccX\nB:AccY\nC:AccZ\n~A\n1 2 3 4 5 6 7\n");
    for (const Collar& c : {Collar{500000.25, 10000000, 350, 12.5}, Collar{-1000000, -1000000, 1e10, -1234.5}}) {
        ASSERT_TRUE(ConvertLasFile(folder / "in.las", folder / "out.txt", c).Ok());
        CKestrixDoc doc;
        ASSERT_EQ(Load(doc, folder / "out.txt"), LoadResult::Loaded) << c.northing;
        EXPECT_EQ((std::array{doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight, doc.m_dDeclination}),
                  (std::array{c.easting, c.northing, c.height, c.declination}));
    }
}

TEST(BatchConvert, UsageFailuresAndCollarOptions)
{
    ScratchFolder folder;
    const std::string las = folder / "hole.las";
    WriteFile(las, "~C\nD:DEPTH\n~A\n1\n");
    // Each with what its message must name.
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> failures = {
        {{}, 2, "no LAS file"},
        {{las, las}, 2, "one LAS file"},
        {{las, "--easting", "12abc"}, 2, "--easting"},
        {{las, "--easting", "5x"}, 2, "--easting"},
        {{las, "--northing", "1,5"}, 2, "--northing"},
        {{las, "--height", "1e400"}, 2, "--height"},
        {{las, "--declination", "nan"}, 2, "--declination"},
        {{las, "--depth", "1"}, 2, "--depth"},
        {{las, "-o"}, 2, "-o"},
        {{folder / "missing.las"}, 1, "missing.las"},
        {{las, "-o", las}, 1, las},
    };
    for (const auto& [args, status, named] : failures) {
        std::ostringstream out, err;
        EXPECT_EQ(RunConvertCommand(args, out, err), status) << testing::PrintToString(args);
        EXPECT_NE(err.str().find(named), std::string::npos) << err.str();
    }
    EXPECT_EQ(folder.Entries().size(), 1u);

    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand({"--declination", "-7.25", las, "--easting", " 500000.5", "--northing", "7.1e6"}, out, err), 0);
    EXPECT_EQ(out.str(), folder / "hole.txt\n");
    EXPECT_EQ(ReadFile(folder / "hole.txt"), "Collar coordinates:\r\nEasting   500000.50\r\nNorthing 7100000.00\r\n"
                                              "Height         0.00\r\nDeclination   -7.25\r\n     DEPTH\r\n   1.00000\r\n");
    EXPECT_EQ(err.str(), "kestrix-batch: Warning: the curve names lack MagX, MagY, MagZ, AccX, AccY, AccZ; kestrix will not "
                         "open the file\n");
}

// Without -o the raw survey file takes the LAS file's name with its
// extension replaced, or with ".txt" added when the name has none.
TEST(BatchConvert, DefaultOutputReplacesTheExtension)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"hole.las", "hole.txt"}, {"hole.LAS", "hole.txt"}, {"short/x1", "short/x1.txt"},
        {"a.b/c", "a.b/c.txt"},   {"x.dat.las", "x.dat.txt"}, {"hole.ls", "hole.txt"},
    };
    for (const auto& [las, raw] : cases) {
        ScratchFolder folder;
        std::filesystem::create_directories(std::filesystem::path(folder / las).parent_path());
        WriteFile(folder / las, "~C\nD:DEPTH\n~A\n1\n");
        std::ostringstream out, err;
        ASSERT_EQ(RunConvertCommand({folder / las}, out, err), 0) << las << ": " << err.str();
        EXPECT_EQ(out.str(), folder / raw + "\n");
        EXPECT_EQ(ReadFile(folder / raw).substr(0, 19), "Collar coordinates:") << las;
    }
}

#ifdef KESTRIX_BATCH
std::string RunBatch(const std::string& args)
{
    std::FILE* pipe = popen((std::string("'") + KESTRIX_BATCH + "' " + args).c_str(), "r");
    std::string output;
    char buffer[1 << 14];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << args;
    return output;
}

TEST(BatchConvert, ConvertThenDumpGivesTheLasData)
{
    ScratchFolder folder;
    RunBatch("convert '" + kDemoLas + "' -o '" + folder / "demo.txt" + "' --easting 512430 --northing 7034815"
             " --height 286 --declination 12.5");
    EXPECT_TRUE(ReadFile(folder / "demo.txt") == ReadFile(kDemoRaw));
    EXPECT_EQ(Rows(RunBatch("dump '" + folder / "demo.txt" + "'"), "Depth"), Rows(ReadFile(kDemoLas), "~A"));
}
#endif

} // namespace
