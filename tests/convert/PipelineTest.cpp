// From LAS file to loaded survey: the converter's output read by the survey
// core, and kestrix-batch convert followed by kestrix-batch dump.
#include "ConvertCommand.h"
#include "ConvertTestFiles.h"
#include "DemoSurvey.h"
#include "KestrixDoc.h"
#include "LasConverter.h"
#include "LineSource.h"
#include "MessageSink.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

const std::string kDemoLas = KESTRIX_EXAMPLES_DIR "/demo.las";
const std::string kDemoRaw = KESTRIX_EXAMPLES_DIR "/demo.txt";
const Collar kDemoCollar{demo::kEasting, demo::kNorthing, demo::kHeight, demo::kDeclination};

using Values = std::array<double, 7>;

class RecordingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// The data records of a LAS file whose records are one line each, read as
// the C library reads numbers.
std::vector<Values> LasRecords(const std::string& path)
{
    std::istringstream in(ReadBytes(path));
    std::vector<Values> records;
    std::string line;
    bool inData = false;
    while (std::getline(in, line)) {
        if (!inData) {
            inData = line.rfind("~A", 0) == 0;
            continue;
        }
        std::istringstream tokens(line);
        Values values{};
        std::string token;
        for (double& v : values) {
            tokens >> token;
            v = std::strtod(token.c_str(), nullptr);
        }
        records.push_back(values);
    }
    return records;
}

Values ObservationValues(const Observation& o) { return {o.Depth, o.MagX, o.MagY, o.MagZ, o.AccX, o.AccY, o.AccZ}; }

LoadResult Load(CKestrixDoc& doc, const std::string& path, RecordingSink& sink)
{
    FileLineSource source(path);
    return doc.LoadRawSurvey(path, source, sink);
}

TEST(Pipeline, CommittedDemoSurveyIsTheConvertersOutput)
{
    ScratchFolder folder;
    ASSERT_TRUE(ConvertLasFile(kDemoLas, folder / "demo.txt", kDemoCollar).Ok());
    EXPECT_TRUE(ReadBytes(folder / "demo.txt") == ReadBytes(kDemoRaw)) << "run the demo-files target";
}

TEST(Pipeline, ConvertedDemoLoadsWithTheLasValues)
{
    ScratchFolder folder;
    ASSERT_TRUE(ConvertLasFile(kDemoLas, folder / "demo.txt", kDemoCollar).Ok());
    CKestrixDoc doc;
    RecordingSink sink;
    ASSERT_EQ(Load(doc, folder / "demo.txt", sink), LoadResult::Loaded);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(doc.m_dEasting, demo::kEasting);
    EXPECT_EQ(doc.m_dNorthing, demo::kNorthing);
    EXPECT_EQ(doc.m_dHeight, demo::kHeight);
    EXPECT_EQ(doc.m_dDeclination, demo::kDeclination);
    const std::vector<Values> las = LasRecords(kDemoLas);
    ASSERT_EQ(las.size(), static_cast<std::size_t>(demo::kSampleCount));
    ASSERT_EQ(doc.m_nObs, demo::kSampleCount);
    for (int i = 0; i < doc.m_nObs; ++i)
        ASSERT_EQ(ObservationValues(doc.m_pObs[i]), las[static_cast<std::size_t>(i)]) << "row " << i;
}

double AngleBetween(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

// The survey core sees the hole the generator laid out: its inclination and
// roll everywhere, its azimuth away from the magnetic body and the spikes,
// a disturbed azimuth near the body and spikes worth deleting.
TEST(Pipeline, DemoSurveyShowsTheIntendedHole)
{
    CKestrixDoc doc;
    RecordingSink sink;
    ASSERT_EQ(Load(doc, kDemoRaw, sink), LoadResult::Loaded);
    double largestDisturbance = 0.0;
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        ASSERT_NEAR(o.CalcIncl, demo::HoleInclination(o.Depth), 0.05) << o.Depth;
        ASSERT_LT(AngleBetween(o.CalcRoll, demo::ProbeRoll(o.Depth)), 0.1) << o.Depth;
        const double deviation = AngleBetween(o.CalcAzMag, demo::HoleAzimuth(o.Depth));
        const bool spike = std::count(demo::kSpikeSamples.begin(), demo::kSpikeSamples.end(), i) > 0;
        if (spike) {
            EXPECT_GT(deviation, 10.0) << o.Depth;
        } else if (o.Depth < demo::kDisturbedTop - 30 || o.Depth > demo::kDisturbedBottom + 30) {
            ASSERT_LT(deviation, 0.3) << o.Depth;
            ASSERT_NEAR(o.MagN, demo::kFieldStrength * std::cos(demo::kFieldDip * 0.017453292519943295), 0.002);
        } else if (o.Depth >= demo::kDisturbedTop && o.Depth <= demo::kDisturbedBottom) {
            largestDisturbance = std::max(largestDisturbance, deviation);
        }
    }
    EXPECT_GT(largestDisturbance, 5.0);
}

TEST(Pipeline, EveryCollarTheConverterWritesLoadsBack)
{
    const std::vector<Collar> collars = {
        {500000.25, 10000000, 350, 12.5},
        {-1000000, -1000000, 1e10, -1234.5},
        {99999999.99, 0, -0.004, 99999.99},
    };
    ScratchFolder folder;
    WriteBytes(folder / "in.las", "~C\nD:DEPTH\nX:MagX\nY:MagY\nZ:MagZ\nA:AccX\nB:AccY\nC:AccZ\n~A\n1 2 3 4 5 6 7\n");
    for (const Collar& c : collars) {
        ASSERT_TRUE(ConvertLasFile(folder / "in.las", folder / "out.txt", c).Ok());
        CKestrixDoc doc;
        RecordingSink sink;
        ASSERT_EQ(Load(doc, folder / "out.txt", sink), LoadResult::Loaded) << c.northing;
        EXPECT_NEAR(doc.m_dEasting, c.easting, 0.005);
        EXPECT_NEAR(doc.m_dNorthing, c.northing, 0.005);
        EXPECT_NEAR(doc.m_dHeight, c.height, 0.005);
        EXPECT_NEAR(doc.m_dDeclination, c.declination, 0.005);
        EXPECT_EQ(doc.m_nObs, 1);
    }
}

struct CommandCase {
    std::vector<std::string> args;
    int status;
};

TEST(BatchConvert, UsageAndFailures)
{
    ScratchFolder folder;
    WriteBytes(folder / "hole.las", "~C\nD:DEPTH\n~A\n1\n");
    const std::string las = folder / "hole.las";
    const std::vector<CommandCase> cases = {
        {{}, 2},
        {{"-o", folder / "x.txt"}, 2},
        {{las, las}, 2},
        {{las, "--easting"}, 2},
        {{las, "--easting", "12abc"}, 2},
        {{las, "--depth", "1"}, 2},
        {{las, "-o"}, 2},
        {{folder / "missing.las"}, 1},
        {{las, "-o", las}, 1},
        {{las, "-o", folder / "no-folder/x.txt"}, 1},
    };
    for (const CommandCase& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunConvertCommand(c.args, out, err), c.status) << testing::PrintToString(c.args);
        EXPECT_FALSE(err.str().empty());
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_EQ(ReadBytes(las), "~C\nD:DEPTH\n~A\n1\n");
    EXPECT_EQ(folder.FileCount(), 1u);
}

TEST(BatchConvert, WritesTheCollarGiven)
{
    ScratchFolder folder;
    WriteBytes(folder / "hole.las", "~C\nD:DEPTH\n~A\n1\n");
    std::ostringstream out, err;
    ASSERT_EQ(RunConvertCommand({folder / "hole.las"}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), folder / "hole.txt" + "\n");
    EXPECT_EQ(ReadBytes(folder / "hole.txt").substr(21, 21), "Easting        0.00\r\n");

    out.str("");
    ASSERT_EQ(RunConvertCommand({"--declination", "-7.25", folder / "hole.las", "--easting", "500000.5", "-o",
                                 folder / "r.txt", "--northing", "7.1e6", "--height", "+350"},
                                out, err),
              0)
        << err.str();
    EXPECT_EQ(ReadBytes(folder / "r.txt"), "Collar coordinates:\r\nEasting   500000.50\r\nNorthing 7100000.00\r\n"
                                           "Height       350.00\r\nDeclination   -7.25\r\n     DEPTH\r\n   1.00000\r\n");
}

#ifdef KESTRIX_BATCH
// Runs kestrix-batch with `args` and gives its standard output.
std::string RunBatch(const std::string& args, int& status)
{
    const std::string command = std::string("'") + KESTRIX_BATCH + "' " + args;
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[1 << 14];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    status = pclose(pipe);
    return output;
}

TEST(BatchConvert, ConvertThenDumpGivesTheLasData)
{
    ScratchFolder folder;
    int status = 0;
    RunBatch("convert '" + kDemoLas + "' -o '" + folder / "demo.txt" + "' --easting 512430 --northing 7034815"
             " --height 286 --declination 12.5", status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(ReadBytes(folder / "demo.txt") == ReadBytes(kDemoRaw));
    std::istringstream dump(RunBatch("dump '" + folder / "demo.txt" + "'", status));
    ASSERT_EQ(status, 0);
    const std::vector<Values> las = LasRecords(kDemoLas);
    std::string line;
    std::getline(dump, line); // field names
    std::size_t row = 0;
    while (std::getline(dump, line)) {
        ASSERT_LT(row, las.size());
        std::istringstream fields(line);
        Values values{};
        std::string field;
        for (double& v : values) {
            fields >> field;
            v = std::strtod(field.c_str(), nullptr);
        }
        ASSERT_EQ(values, las[row]) << "row " << row;
        ++row;
    }
    EXPECT_EQ(row, las.size());
}
#endif

} // namespace
