#include "ScratchFolder.h"
#include "survey/ControlPointsFile.h"
#include "survey/LineSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace survey;

namespace {

TEST(ControlPointsFile, ReadsPointsPassingOverCommentsAndBlankLines)
{
    const std::string text = "# depth azimuth\r\n\r\n  \n120.5 45.25\r\n130\t-10\n#" + std::string(3 << 20, 'c') + "\n";
    survey::StringLineSource good(text);
    std::vector<ControlPointEntry> points;
    std::string error;
    ASSERT_TRUE(ReadControlPoints(good, "cp.txt", points, error)) << error;
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].depth, 120.5);
    EXPECT_EQ(points[1].azimuth, -10);
    int x = 0, y = 0;
    ASSERT_TRUE(ScaledControlPoint(points[0], 100, x, y));
    EXPECT_EQ(x, 12050);
    EXPECT_EQ(y, 4525);
}

std::string HundredPoints()
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::to_string(i) + " 30\n";
    return text;
}

struct BadPointsCase {
    const char* name;
    std::string text;
    const char* error;
};

class BadControlPoints : public ::testing::TestWithParam<BadPointsCase> {};

TEST_P(BadControlPoints, NameTheFileAndLine)
{
    survey::StringLineSource in(GetParam().text);
    std::vector<ControlPointEntry> points;
    std::string error;
    EXPECT_FALSE(ReadControlPoints(in, "cp.txt", points, error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    ControlPointsFile, BadControlPoints,
    ::testing::Values(BadPointsCase{"OneNumber", "1 2\n3\n", "cp.txt:2: expected DEPTH AZIMUTH"},
                      BadPointsCase{"ThreeNumbers", "1 2\n3 4 5\n", "cp.txt:2: expected DEPTH AZIMUTH"},
                      BadPointsCase{"Word", "1 2\nx 4\n", "cp.txt:2: expected DEPTH AZIMUTH"},
                      BadPointsCase{"CommaDecimal", "1 2\n5,5 30\n", "cp.txt:2: expected DEPTH AZIMUTH"},
                      BadPointsCase{"NumberWithTail", "1 2\n5 30deg\n", "cp.txt:2: expected DEPTH AZIMUTH"},
                      BadPointsCase{"OutsideThePlotUnits", "1 2\n1e300 4\n", "cp.txt:2: expected DEPTH AZIMUTH"},
                      BadPointsCase{"NotANumber", "1 2\nnan 4\n", "cp.txt:2: expected DEPTH AZIMUTH"},
                      BadPointsCase{"LineOverTheBound", "1 2\n" + std::string(kMaxControlPointLine, ' ') + "5 30\n",
                                    "cp.txt:2: expected DEPTH AZIMUTH"},
                      BadPointsCase{"NoLineEnds", std::string(kMaxControlPointLine + 1, '\0'),
                                    "cp.txt:1: expected DEPTH AZIMUTH"},
                      BadPointsCase{"HundredAndFirstPoint", "# more than the document holds\n" + HundredPoints() +
                                                                "100 30\n",
                                    "cp.txt:102: at most 100 control points"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControlPointsFile, WrittenPointsReadBackExactly)
{
    const std::vector<ControlPointEntry> points{{0.1, 37.82, 1}, {205, -0.005, 2}, {399.99, 359.99, 3}};
    const ScratchFolder folder;
    const std::string path = folder / "cp.txt";
    ASSERT_EQ(WriteControlPointsFile(points, path), textio::SafeFileWriter::Status::Ok);
    EXPECT_EQ(ReadFile(path), "# depth_m azimuth_deg\r\n0.1 37.82\r\n205 -0.005\r\n399.99 359.99\r\n");
    FileLineSource in(path);
    std::vector<ControlPointEntry> read;
    std::string error;
    ASSERT_TRUE(ReadControlPoints(in, path, read, error)) << error;
    ASSERT_EQ(read.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(read[i].depth, points[i].depth);
        EXPECT_EQ(read[i].azimuth, points[i].azimuth);
    }
}

} // namespace
