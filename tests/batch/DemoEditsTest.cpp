// The editing options on the example survey: the same edits given as options,
// as an edits file and through the spike finder export the same bytes.
#include "BatchRunner.h"
#include "CollarField.h"
#include "NamedRows.h"
#include "examples/DemoSurvey.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <map>

namespace {

const std::string kDemo = std::string(KESTRIX_EXAMPLES_DIR) + "/demo.txt";
const std::string kDemoPoints = std::string(KESTRIX_EXAMPLES_DIR) + "/demo-control-points.txt";

// Files the rows name as "@NAME"; "CP" names the demo's control points.
const std::map<std::string, std::string> kFiles = {
    {"two.cp", "130 37.82\n270 46.7\n"},
    {"all.edits", "Kestrix edits 1\r\n# the demo's first two spikes\r\ndelete 57.30\r\ndelete 121.8\r\n"
                  "control 130 37.82\r\n\r\ncontrol 270.00 46.70\r\ndegree 1\r\nroll 90\r\n"},
    {"degree3.edits", "Kestrix edits 1\ndegree 3\n"},
    {"local.edits", "Kestrix edits 1\nfit local\n"},
    {"site.edits", "Kestrix edits 2\ncrs EPSG:32629\ndate 2020-01-01\ndeclination model\n"},
    {"arc.edits", "Kestrix edits 2\ntrajectory min-curvature\n"},
};

// "=MODEL": convergence less the model's declination at the demo's collar on
// 1 May 2026, in the shortest text that reads back as the same number.
std::string ModelDeclinationText()
{
    char text[32];
    const double declination =
        FieldAt(crs::SiteFromGrid(demo::kEpsg, demo::kEasting, demo::kNorthing), demo::kHeight, {2026, 5, 1})
            .Declination();
    return std::string(text, std::to_chars(text, text + sizeof text, declination).ptr);
}

struct SameEditsCase {
    const char* name;
    std::vector<std::string> edits;
    std::vector<std::string> matching; // the same edits given another way
};

class SameEdits : public ::testing::TestWithParam<SameEditsCase>, protected BatchRunner {
protected:
    void SetUp() override
    {
        for (const auto& [name, text] : kFiles)
            WriteFile(m_dir + "/" + name, text);
    }

    std::vector<std::string> Args(const char* command, const std::vector<std::string>& edits)
    {
        std::vector<std::string> args{command, kDemo};
        for (const std::string& arg : edits)
            args.push_back(arg == "CP"       ? kDemoPoints
                           : arg == "=MODEL" ? ModelDeclinationText()
                           : arg[0] == '@'   ? m_dir + "/" + arg.substr(1)
                                             : arg);
        return args;
    }

    // The XYZ file that the editing options give, always under one name.
    std::string Export(const std::vector<std::string>& edits)
    {
        std::vector<std::string> args = Args("export", edits);
        args.insert(args.end(), {"-o", m_dir + "/out.xyz"});
        EXPECT_EQ(Batch(args), 0) << err.str();
        return ReadFile(m_dir + "/out.xyz");
    }
};

TEST_P(SameEdits, ExportTheSameBytes)
{
    EXPECT_EQ(Export(GetParam().edits), Export(GetParam().matching));
}

TEST_P(SameEdits, ComeBackFromTheirEditsFile)
{
    std::vector<std::string> args = Args("edits", GetParam().edits);
    args.insert(args.end(), {"-o", m_dir + "/saved.edits"});
    ASSERT_EQ(Batch(args), 0) << err.str();
    EXPECT_EQ(out.str(), m_dir + "/saved.edits\n");
    EXPECT_EQ(Export({"--edits", "@saved.edits"}), Export(GetParam().matching));
}

INSTANTIATE_TEST_SUITE_P(
    DemoSurvey, SameEdits,
    ::testing::Values(
        SameEditsCase{"EditsFileAsOptions",
                      {"--edits", "@all.edits"},
                      {"--delete-depth", "57.3", "--delete-depth", "121.8", "--control-points", "@two.cp", "--degree",
                       "1", "--roll", "90"}},
        SameEditsCase{"EditsFileAfterAnOption",
                      {"--control-points", "CP", "--degree", "2", "--edits", "@degree3.edits"},
                      {"--control-points", "CP", "--degree", "3"}},
        SameEditsCase{"OptionAfterAnEditsFile",
                      {"--edits", "@degree3.edits", "--control-points", "CP", "--degree", "4"},
                      {"--control-points", "CP", "--degree", "4"}},
        SameEditsCase{"LocalFitFromAnEditsFile",
                      {"--control-points", "CP", "--edits", "@local.edits"},
                      {"--control-points", "CP", "--fit", "local"}},
        SameEditsCase{"WholeFitAfterLocal",
                      {"--control-points", "CP", "--fit", "local", "--fit", "whole"},
                      {"--control-points", "CP"}},
        SameEditsCase{"FlaggedReadingsAsTheirDepths",
                      {"--delete-flagged"},
                      {"--delete-depth", "57.3", "--delete-depth", "121.8", "--delete-depth", "263.4",
                       "--delete-depth", "318.1", "--delete-depth", "352.6"}},
        SameEditsCase{"ModelDeclinationAsItsValueTyped",
                      {"--crs", "EPSG:32629", "--date", "2026-05-01", "--declination", "model"},
                      {"--declination", "=MODEL"}},
        SameEditsCase{"DateOverTheSiteOfAnEditsFile",
                      {"--control-points", "CP", "--edits", "@site.edits", "--date", "2026-05-01"},
                      {"--control-points", "CP", "--declination", "=MODEL"}},
        SameEditsCase{"MinimumCurvatureFromAnEditsFile", {"--trajectory", "min-curvature"}, {"--edits", "@arc.edits"}}),
    RowName());

class DemoSurvey : public ::testing::Test, protected BatchRunner {
protected:
    // The fields of every line of `text` after its header, split at `separator`.
    static std::vector<std::vector<std::string>> Rows(const std::string& text, char separator)
    {
        std::vector<std::vector<std::string>> rows;
        std::size_t start = text.find('\n') + 1;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            std::vector<std::string>& fields = rows.emplace_back();
            for (std::size_t at = start, next; at <= end; at = next + 1) {
                next = std::min(text.find(separator, at), end);
                fields.push_back(text.substr(at, next - at));
            }
        }
        return rows;
    }
};

TEST_F(DemoSurvey, QcFlagsTheSpikesAndNoOtherReading)
{
    ASSERT_EQ(Batch({"qc", kDemo}), 0) << err.str();
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "depth,total_field_nT,total_gravity,dip_deg,flagged");
    const auto rows = Rows(out.str(), ',');
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(demo::kSampleCount));
    std::vector<int> flagged;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 5u);
        if (rows[i][4] != "0")
            flagged.push_back(static_cast<int>(i));
    }
    EXPECT_EQ(flagged, std::vector<int>(demo::kSpikeSamples.begin(), demo::kSpikeSamples.end()));
}

TEST_F(DemoSurvey, LocalFitKeepsTheMeasuredAzimuthOutsideTheControlPoints)
{
    ASSERT_EQ(Batch({"dump", kDemo, "--control-points", kDemoPoints, "--degree", "3", "--fit", "local"}), 0);
    int fitted = 0;
    for (const auto& row : Rows(out.str(), '\t')) {
        ASSERT_EQ(row.size(), 20u);
        const double depth = std::stod(row[0]);
        const std::string &measured = row[12], &used = row[19]; // CalcAzMag, AzUsed
        if (depth < 130 || depth > 270)
            EXPECT_EQ(used, measured) << "at " << depth << " m";
        else
            fitted += used != measured;
    }
    EXPECT_GT(fitted, 1000) << "the fit is used between the control points";
}

// Minimum curvature moves the positions (East, North, Height) and nothing else.
TEST_F(DemoSurvey, MinimumCurvatureChangesOnlyThePositions)
{
    ASSERT_EQ(Batch({"dump", kDemo}), 0) << err.str();
    auto averaged = Rows(out.str(), '\t');
    ASSERT_EQ(Batch({"dump", kDemo, "--trajectory", "min-curvature"}), 0) << err.str();
    auto arcs = Rows(out.str(), '\t');
    EXPECT_NE(arcs.back(), averaged.back());
    for (auto* rows : {&averaged, &arcs})
        for (auto& row : *rows)
            row.erase(row.begin() + 16, row.begin() + 19);
    EXPECT_EQ(arcs, averaged);
}

} // namespace
