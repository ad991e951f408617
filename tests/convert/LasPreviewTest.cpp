#include "ConvertTestFiles.h"
#include "NamedRows.h"
#include "convert/LasConverter.h"

#include <gtest/gtest.h>

using namespace convert;

namespace {

struct CollarRow {
    const char* name;
    std::string header; // the LAS header sections before the curves
    Collar collar;
    std::size_t taken;
};

class CollarFromLasHeader : public ::testing::TestWithParam<CollarRow> {};

// What the collar dialog starts from: the usual mnemonics, in metres, the
// declination negated; values that are NULL, no number or in another unit
// are passed over.
TEST_P(CollarFromLasHeader, TakesTheUsualMnemonics)
{
    const CollarRow& row = GetParam();
    ScratchFolder folder;
    WriteFile(folder / "h.las", row.header + "~C\nD:DEPTH\n~A\n1\n");
    const LasCurvesResult read = ReadLasCurves(folder / "h.las", {}, textio::ReadFrom::AnyFile, 1);
    ASSERT_EQ(read.status, ConvertResult::Status::Ok) << read.message;
    const CollarFromLas found = CollarFromHeader(read.preview.header);
    EXPECT_DOUBLE_EQ(found.collar.easting, row.collar.easting);
    EXPECT_DOUBLE_EQ(found.collar.northing, row.collar.northing);
    EXPECT_DOUBLE_EQ(found.collar.height, row.collar.height);
    EXPECT_DOUBLE_EQ(found.collar.declination, row.collar.declination);
    EXPECT_EQ(found.taken.size(), row.taken);
}

INSTANTIATE_TEST_SUITE_P(
    Converter, CollarFromLasHeader,
    ::testing::Values(
        CollarRow{"NoHeader", "", {}, 0},
        CollarRow{"WellSectionInMetresAndFeet",
                  "~Well\n EASTING.M 500000.5 :\n NORTHING.F 1000 :\n EKB.FT 100 : kelly bushing\n MAGDEC. -3.25 :\n",
                  {500000.5, 304.8, 30.48, 3.25}, 4},
        CollarRow{"NullNotANumberAndDegreesPassedOver",
                  "~Well\n NULL. -999.25 :\n XCOORD.DEG -122.5 :\n EAST.M -999.25 :\n X.M 12a :\n DECL.RAD 0.1 :\n"
                  " ELEV.M 5 :\n",
                  {0, 0, 5, 0}, 1},
        CollarRow{"WellBeforeParameterAndTheDepthReferenceFirst",
                  "~Parameter\n XCOORD. 7 :\n EKB.M 20 :\n~Well\n EGL.M 10 :\n XCOORD. 8 :\n", {8, 0, 20, 0}, 2}),
    RowName());

} // namespace
