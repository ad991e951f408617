// Conversions beyond kestrix's own probe: curves mapped from another maker's
// mnemonics and units, the NULL value, and LAS 3.0 log data.
#include "convert/LasConverter.h"
#include "ConvertTestFiles.h"
#include "NamedRows.h"

#include <gtest/gtest.h>

using namespace convert;

namespace {

const std::string kHead = "Collar coordinates:\nEasting        0.00\nNorthing       0.00\nHeight         0.00\n"
                          "Declination    0.00\n";
const std::string kMapped = "     DEPTH       MagX       MagY       MagZ       AccX       AccY       AccZ";

struct ConversionRow {
    const char* name;
    std::string las;
    std::string map;  // --map text; empty to convert the curves as written
    std::string body; // the raw survey file after its collar block, without CR
    std::vector<std::string> warnings;
};

class Conversion : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(Conversion, WritesTheCurvesKestrixReads)
{
    const ConversionRow& row = GetParam();
    ScratchFolder folder;
    WriteFile(folder / "in.las", row.las);
    std::string error;
    const std::optional<CurveMapping> mapping = ParseCurveMapping(row.map, error);
    const ConvertResult result = mapping ? ConvertLasFile(folder / "in.las", folder / "out.txt", {}, *mapping)
                                         : ConvertLasFile(folder / "in.las", folder / "out.txt", {});
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(WithoutCR(ReadFile(folder / "out.txt")), kHead + row.body);
    std::vector<std::string> warnings = result.Warnings();
    if (!warnings.empty() && warnings.front().find("curve names lack") != std::string::npos)
        warnings.erase(warnings.begin());
    EXPECT_EQ(warnings, row.warnings);
}

const std::string kProbe = "~W\n NULL. -999.25 : null\n~C\n GR.API :gamma\n HX.NT :\n DEPT.FT :\n HY.NT :\n HZ.NT :\n"
                           " AX.MG :\n AY.MG :\n AZ.MG :\n~A\n";
const std::string kProbeMap = "DEPTH=DEPT:ft,MagX=HX:nT,MagY=HY:nT,MagZ=HZ:nT,AccX=AX:mg,AccY=AY:mg,AccZ=AZ:mg";
const std::string kSeven = "~C\nD:DEPTH\nX:MagX\nY:MagY\nZ:MagZ\nA:AccX\nB:AccY\nC:AccZ\n";
const std::string kSevenNames = "     DEPTH       MagX       MagY       MagZ       AccX       AccY       AccZ\n";
const std::string kThree = "~Version\n VERS. 3.0 :\n";

INSTANTIATE_TEST_SUITE_P(
    Converter, Conversion,
    ::testing::Values(
        ConversionRow{"MappedCurvesComeFirstInKestrixUnits", kProbe + "7 12345 7 -2500 50000 100 -250 968\n", kProbeMap,
                      kMapped + "      gamma\n   2.13360    0.12345   -0.02500    0.50000    0.10000   -0.25000    0.96800"
                                "    7.00000\n",
                      {}},
        ConversionRow{"RowsWithANullOrNotANumberMappedAreLeftOut",
                      kProbe + "-999.25 10 1 1 1 1 1 1\n1 -999.2500 2 2 2 2 2 2\n2 3 3 3 3 3 3 x\n-999.25 4 4 4 4 4 4 4\n",
                      kProbeMap,
                      kMapped + "      gamma\n   0.30480    0.00010    0.00001    0.00001    0.00100    0.00100    0.00100"
                                " -999.25000\n   1.21920    0.00004    0.00004    0.00004    0.00400    0.00400    0.00400"
                                " -999.25000\n",
                      {"Warning: 2 rows were left out: a mapped value was the NULL value or not a number (first at line 14)"}},
        ConversionRow{"StandardGravityTakesMetresPerSecondSquaredIntoG",
                      kSeven + "~A\n1 2 3 4 9.80665 -19.6133 4.903325\n",
                      "DEPTH=D:m,MagX=X:mG,MagY=Y:uT,MagZ=Z:G,AccX=A:m/s2,AccY=B:m/s2,AccZ=C:m/s2",
                      kMapped + "\n   1.00000    0.00200    0.03000    4.00000    1.00000   -2.00000    0.50000\n", {}},
        // A value written as the NULL value is written but is not it.
        ConversionRow{"NullRowsWithoutMappingAreWrittenAndCounted",
                      "~Well\n NULL .  -999.2500 : null\n" + kSeven + " T.C : temp\n~A\n1 2 3 4 5 6 7 -999.25\n"
                                                                    "2 -999.25 3 4 5 6 7 8\n3 2 3 4 5 6 -999.250 8\n"
                                                                    "4 -999.250001 3 4 5 6 7 8\n",
                      "",
                      kSevenNames.substr(0, kSevenNames.size() - 1) + "       temp\n"
                          "   1.00000    2.00000    3.00000    4.00000    5.00000    6.00000    7.00000 -999.25000\n"
                          "   2.00000 -999.25000    3.00000    4.00000    5.00000    6.00000    7.00000    8.00000\n"
                          "   3.00000    2.00000    3.00000    4.00000    5.00000    6.00000 -999.25000    8.00000\n"
                          "   4.00000 -999.25000    3.00000    4.00000    5.00000    6.00000    7.00000    8.00000\n",
                      {"Warning: 2 rows hold the NULL value -999.2500 in their first seven columns, which kestrix reads "
                       "as a reading"}},
        ConversionRow{"Las3CommaDelimitedLogDataWithoutItsTextCurve",
                      kThree + " DLM. COMMA :\n~Core_Definition\n CORET.M : top {F}\n~Core_Data | Core_Definition\n1,2\n"
                               "~Log_Definition\n DEPT .M : DEPTH {F}\n DESC . : description {S}\n GR.API : {F}\n"
                               "~Log_Data | Log_Definition\n1670.5 , \"sandy, grey\" ,  12\n1671,shale,13\n"
                               "~Tops_Definition\n TOPT.M : {F}\n~Tops_Data\n9\n",
                      "", "     DEPTH         GR\n1670.50000   12.00000\n1671.00000   13.00000\n",
                      {"Warning: text curves were left out: DESC"}},
        ConversionRow{"Las3TabDelimitedValuesKeepTheirBlanks",
                      kThree + " DLM. TAB :\n~Curve\n D.M : {F}\n T. : {S}\n X.G : {F}\n~Ascii\n1\tLOST  INTERVAL \t2\n",
                      "", "         D          X\n   1.00000    2.00000\n", {"Warning: text curves were left out: T"}},
        ConversionRow{"Las3SpaceDelimitedAsLas2", kThree + "~Log_Definition\n D.M : depth\n~A\n5\n6\n~Other\n7\n", "",
                      "     depth\n   5.00000\n   6.00000\n", {}}),
    RowName());

} // namespace
