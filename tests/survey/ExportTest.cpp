#include "NamedRows.h"
#include "ProbeReadings.h"
#include "ScratchFolder.h"
#include "SurveyFiles.h"
#include "SurveyRows.h"
#include "survey/EditRecord.h"
#include "survey/ListingRows.h"
#include "survey/XyzExport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <unistd.h>

using namespace survey;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF, nothing after the last";
    return lines;
}

class ExportTest : public ::testing::Test {
protected:
    ScratchFolder m_folder;
    const std::string m_dir = m_folder.Path();
};

TEST(ExportNames, DefaultPathAndLineName)
{
    EXPECT_EQ(DefaultExportPath("/data/hole7.txt"), "/data/hole7.xyz");
    EXPECT_EQ(DefaultExportPath("/data/hole7.TXT"), "/data/hole7.xyz");
    EXPECT_EQ(DefaultExportPath("ab"), "xyz");
    EXPECT_EQ(ExportFailureMessage(ExportResult::WriteFailed, "/x/a.xyz"), "Failed to write\n  /x/a.xyz");
}

TEST_F(ExportTest, RowsFollowTheTraversalWithFixedColumns)
{
    CKestrixDoc doc;
    FillDocument(doc, {{30, 0.2, 0.1, 0.4, 0, 1, 0.1}, {20, 0.2, 0.1, 0.4, 0, 1, 0.2}, {10, 0.2, 0.1, 0.4, 0, 1, 0.3}});
    const std::string path = m_dir + "/upwards.xyz";
    ASSERT_EQ(WriteXyzFile(doc, path), ExportResult::Ok);
    const auto lines = Lines(ReadFile(path));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "/East North Height TMI magE, magN, magZ");
    EXPECT_EQ(lines[1], "Li upwards");
    const Observation& shallow = doc.m_pObs[2];
    char expected[200];
    std::snprintf(expected, sizeof expected, "%10.2f %10.2f %10.2f ", shallow.East, shallow.North, shallow.Height);
    EXPECT_EQ(lines[2].substr(0, 33), expected) << "the shallow end comes first";
    for (std::size_t i = 2; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), 77u);
        EXPECT_EQ(lines[i].back(), ' ');
        const std::string east = lines[i].substr(44, 10);
        EXPECT_TRUE(east == "      0.00" || east == "     -0.00") << east;
    }
    const double tmi = std::sqrt(0.2 * 0.2 + 0.1 * 0.1 + 0.4 * 0.4) * 100000;
    std::snprintf(expected, sizeof expected, "%10.2f", tmi);
    EXPECT_EQ(lines[2].substr(33, 10), expected);
}

TEST_F(ExportTest, EmptySurveyAndWideValues)
{
    CKestrixDoc doc;
    ASSERT_EQ(WriteXyzFile(doc, m_dir + "/none.xyz"), ExportResult::Ok);
    EXPECT_EQ(ReadFile(m_dir + "/none.xyz"), "/East North Height TMI magE, magN, magZ\r\nLi none\r\n");
    EXPECT_NE(ExportWarning(doc), "") << "the user is told the file holds no reading";
    ASSERT_EQ(WriteXyzFile(doc, m_dir + "/.xyz"), ExportResult::Ok);
    EXPECT_EQ(Lines(ReadFile(m_dir + "/.xyz"))[1], "Li ");

    FillDocument(doc, {{10, 0.2, 0.1, 0.4, 0, 1, 0.1}});
    doc.m_dNorthing = 10000100;
    doc.Recalculate();
    ASSERT_EQ(WriteXyzFile(doc, m_dir + "/wide.xyz"), ExportResult::Ok);
    const auto row = Lines(ReadFile(m_dir + "/wide.xyz"))[2];
    EXPECT_EQ(row.size(), 78u) << "the northing widens its field";
    EXPECT_NE(row.find(" 100000"), std::string::npos);
    EXPECT_EQ(ExportWarning(doc), "");
}

// A component that rounds to zero is written 0.00, never -0.00, in the
// export and in the listing alike.
TEST_F(ExportTest, NegativeZeroIsWrittenAsZero)
{
    CKestrixDoc doc;
    FillDocument(doc, {{10, 0.2, 0.1, 0.4, 0, 1, 0.1}});
    doc.m_pObs[0].MagE = -1e-9;
    doc.m_pObs[0].East = -0.004;
    ASSERT_EQ(WriteXyzFile(doc, m_dir + "/zero.xyz"), ExportResult::Ok);
    const std::string row = Lines(ReadFile(m_dir + "/zero.xyz"))[2];
    EXPECT_EQ(row.substr(0, 10), "      0.00") << "East";
    EXPECT_EQ(row.substr(44, 10), "      0.00") << "the East component";
    EXPECT_EQ(BuildListing(doc).rows[0].pieces[4].substr(0, 12), "         0.0");
}

struct RefusedRow {
    const char* name;
    ExportResult result;
    std::string message; // "@" stands for the path
};

class RefusedExport : public ::testing::TestWithParam<RefusedRow> {};

// An export that cannot be written leaves every file as it was; one that
// would replace the survey's own raw survey file, under whatever name the
// path reaches it, is refused.
TEST_P(RefusedExport, KeepsTheSurveyAndSaysWhy)
{
    ScratchFolder folder;
    const std::string dir = folder.Path(), survey = dir + "/hole.txt";
    const std::string text = RawSurveyText({{1, 0.2, 0.1, 0.4, 0, 1, 0.1}});
    WriteFile(survey, text);
    CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, survey), LoadResult::Loaded);

    const std::string how = GetParam().name;
    std::string path = survey;
    if (how == "SymbolicLink")
        ASSERT_EQ(symlink(survey.c_str(), (path = dir + "/link.xyz").c_str()), 0);
    else if (how == "HardLink")
        ASSERT_EQ(link(survey.c_str(), (path = dir + "/hard.xyz").c_str()), 0);
    else if (how == "DotSegments")
        path = dir + "/./../" + dir.substr(dir.rfind('/') + 1) + "/hole.txt";
    else if (how == "MissingFolder")
        path = dir + "/missing/folder/a.xyz";
    else if (how == "Folder")
        path = dir;
    EXPECT_EQ(WriteXyzFile(doc, path), GetParam().result);
    EXPECT_EQ(ReadFile(survey), text);
    std::string message = GetParam().message;
    EXPECT_EQ(ExportFailureMessage(GetParam().result, path), message.replace(message.find('@'), 1, path));
    EXPECT_TRUE(folder.ScratchFiles().empty());
}

const std::string kWouldReplace = "The XYZ file would replace the raw survey file\n  @";
const std::string kCannotOpen = "Failed to open\n  @\nfor writing";

INSTANTIATE_TEST_SUITE_P(Export, RefusedExport,
                         ::testing::Values(RefusedRow{"SamePath", ExportResult::SameFile, kWouldReplace},
                                           RefusedRow{"SymbolicLink", ExportResult::SameFile, kWouldReplace},
                                           RefusedRow{"HardLink", ExportResult::SameFile, kWouldReplace},
                                           RefusedRow{"DotSegments", ExportResult::SameFile, kWouldReplace},
                                           RefusedRow{"MissingFolder", ExportResult::OpenFailed, kCannotOpen},
                                           RefusedRow{"Folder", ExportResult::OpenFailed, kCannotOpen}),
                         RowName());

// A deletion recalculates at once: the export right after it equals the
// export of a survey that never had the deleted observation.
TEST_F(ExportTest, DeletionIsExportedAtOnce)
{
    std::vector<Row> rows;
    for (int i = 0; i < 6; ++i)
        rows.push_back({10.0 * i, 0.2, 0.1 * i, 0.4, 0.1 * i, 1, 0.3});
    CKestrixDoc doc;
    FillDocument(doc, rows);
    ApplyRecorded(doc, edit::DeleteObservation{3});
    rows.erase(rows.begin() + 3);
    CKestrixDoc without;
    FillDocument(without, rows);
    const std::string deleted = m_dir + "/deleted.xyz", never = m_dir + "/never.xyz";
    ASSERT_EQ(WriteXyzFile(doc, deleted), ExportResult::Ok);
    ASSERT_EQ(WriteXyzFile(without, never), ExportResult::Ok);
    auto deletedLines = Lines(ReadFile(deleted));
    auto neverLines = Lines(ReadFile(never));
    deletedLines[1] = neverLines[1]; // the "Li" lines name different files
    EXPECT_EQ(deletedLines, neverLines);
}

TEST_F(ExportTest, DemoSurveyWithControlPointsAndAfterClear)
{
    const std::string demo = std::string(KESTRIX_EXAMPLES_DIR) + "/demo.txt";
    CKestrixDoc plain;
    ASSERT_EQ(LoadSurveyFile(plain, demo), LoadResult::Loaded);
    ASSERT_EQ(WriteXyzFile(plain, m_dir + "/plain.xyz"), ExportResult::Ok);

    CKestrixDoc edited;
    ASSERT_EQ(LoadSurveyFile(edited, demo), LoadResult::Loaded);
    // Control points along the measured azimuth outside the disturbed stretch.
    for (int i = 0; i < edited.m_nObs; i += edited.m_nObs / 12)
        ApplyRecorded(edited, edit::AddControlPoint{{static_cast<int>(edited.m_pObs[i].Depth * edited.m_dScale),
                                            static_cast<int>(edited.m_pObs[i].CalcAzMag * edited.m_dScale)}});
    ApplyRecorded(edited, edit::SetFitDegree{3});
    ASSERT_EQ(WriteXyzFile(edited, m_dir + "/fitted.xyz"), ExportResult::Ok);
    int nonZeroEast = 0;
    for (const auto& line : Lines(ReadFile(m_dir + "/fitted.xyz")))
        nonZeroEast += line.size() > 54 && line.substr(44, 10) != "      0.00" && line.substr(44, 10) != "     -0.00";
    EXPECT_GT(nonZeroEast, edited.m_nObs / 2);

    ApplyRecorded(edited, edit::ClearControlPoints{});
    ASSERT_EQ(WriteXyzFile(edited, m_dir + "/plain.xyz.again"), ExportResult::Ok);
    auto cleared = ReadFile(m_dir + "/plain.xyz.again");
    auto original = ReadFile(m_dir + "/plain.xyz");
    EXPECT_EQ(cleared.substr(cleared.find("\r\n", 45)), original.substr(original.find("\r\n", 45)))
        << "after Clear the export is the one without control points";
}

// Two readings in a field 5000 nT east and 20000 nT north of magnetic north
// (the azimuth held by a control point), exported with the file's
// declination (12.5) or a typed one; without a site their anomalies are nil.
struct FrameRow {
    const char* name;
    ExportOptions options;
    std::optional<double> typedDeclination;
    const char* header;
    double east, north, up; // the first row's, nT
};

class ExportFrame : public ::testing::TestWithParam<FrameRow> {};

TEST_P(ExportFrame, TurnsTheComponentsByTheDeclinationInForce)
{
    const FrameRow& row = GetParam();
    CKestrixDoc doc;
    FillDocument(doc, {ProbeReading(10, {0.2, 0.05, -0.45}, 60, 45, 30, 9.81),
                       ProbeReading(11, {0.2, 0.05, -0.45}, 60, 45, 70, 9.81)});
    ApplyRecorded(doc, edit::AddControlPoint{{1000, 4500}});
    if (row.typedDeclination) {
        Site typed;
        typed.declinationFrom = Site::DeclinationFrom::Typed;
        typed.typedDeclination = *row.typedDeclination;
        ApplyRecorded(doc, edit::SetSite{typed});
    }
    const ScratchFolder folder;
    ASSERT_EQ(WriteXyzFile(doc, folder / "turned.xyz", row.options), ExportResult::Ok);
    const auto lines = Lines(ReadFile(folder / "turned.xyz"));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], row.header);
    // The raw survey file keeps a nanotesla of each sensor axis.
    EXPECT_NEAR(std::stod(lines[2].substr(44, 10)), row.east, 2.0);
    EXPECT_NEAR(std::stod(lines[2].substr(55, 10)), row.north, 2.0);
    EXPECT_NEAR(std::stod(lines[2].substr(66, 10)), row.up, 2.0);
    EXPECT_EQ(lines[2].substr(77), row.options.depthColumn ? "     10.00 " : "");
}

constexpr ExportOptions kGrid{ComponentFrame::Grid, false};
constexpr const char* kGridHeader = "/East North Height TMI gridE, gridN, gridZ";

INSTANTIATE_TEST_SUITE_P(
    Rows, ExportFrame,
    ::testing::Values(FrameRow{"Magnetic", {}, {}, "/East North Height TMI magE, magN, magZ", 5000, 20000, -45000},
                      // 5000 cos 12.5 - 20000 sin 12.5, 20000 cos 12.5 + 5000 sin 12.5
                      FrameRow{"GridByTheFilesDeclination", kGrid, {}, kGridHeader, 552.69, 20608.12, -45000},
                      // Grid azimuth = magnetic azimuth + 90: magnetic north is grid east.
                      FrameRow{"GridQuarterTurnWest", kGrid, -90.0, kGridHeader, 20000, -5000, -45000},
                      FrameRow{"GridQuarterTurnEast", kGrid, 90.0, kGridHeader, -20000, 5000, -45000},
                      FrameRow{"Anomalies", {ComponentFrame::Magnetic, true}, {}, "/East North Height dTMI dE, dN, dU", 0, 0, 0},
                      FrameRow{"GridAnomalies", {ComponentFrame::Grid, true}, 90.0,
                               "/East North Height dTMI dgridE, dgridN, dU", 0, 0, 0},
                      FrameRow{"DepthColumnLast", {.depthColumn = true}, {},
                               "/East North Height TMI magE, magN, magZ Depth", 5000, 20000, -45000}),
    RowName());

} // namespace
