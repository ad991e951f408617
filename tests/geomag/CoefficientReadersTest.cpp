#include "NamedRows.h"
#include "geomag/BuiltInModels.h"
#include "geomag/CoefficientReaders.h"
#include "geomag/EmbeddedText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace geomag;

namespace {

using Reader = std::variant<Model, ReadFault> (*)(std::istream&);

std::variant<Model, ReadFault> ReadText(Reader read, const std::string& text)
{
    std::istringstream in(text);
    return read(in);
}

const std::string kWmmHead = "    2025.0            WMM-2025        11/13/2024\n";
const std::string kWmm10 = "  1  0  -29351.8       0.0       12.0        0.0\n";
const std::string kWmm11 = "  1  1   -1410.8    4545.4        9.7      -21.5\n";
const std::string kWmmEnd = "999999999999999999999999999999999999999999999999\n";
const std::string kIgrfHead = "# cut short\nc/s deg ord IGRF IGRF SV\ng/h n m 2020.0 2025.0 2025-30\n";
const std::string kIgrfG = "g  1  0 -29403.41 -29350.0 12.6\ng  1  1 -1451.37 -1410.3 10.0\n";

struct FaultRow {
    const char* name;
    Reader read;
    std::string text;
    std::int64_t line;
    const char* reason; // found within the fault's reason
};

class MalformedFiles : public ::testing::TestWithParam<FaultRow> {};

TEST_P(MalformedFiles, AreRefusedAtTheirLine)
{
    const FaultRow& row = GetParam();
    const auto result = ReadText(row.read, row.text);
    ASSERT_TRUE(std::holds_alternative<ReadFault>(result));
    const ReadFault& fault = std::get<ReadFault>(result);
    EXPECT_EQ(fault.line, row.line) << fault.reason;
    EXPECT_NE(fault.reason.find(row.reason), std::string::npos) << fault.reason;
}

const Reader kWmm = ReadWmmCoefficients;
const Reader kIgrf = ReadIgrfCoefficients;

INSTANTIATE_TEST_SUITE_P(
    Readers, MalformedFiles,
    ::testing::Values(FaultRow{"WmmEmpty", kWmm, "\n\n", 0, "empty"},
                      FaultRow{"WmmEpochNotAYear", kWmm, "2025,0 WMM\n" + kWmm10, 1, "not an epoch"},
                      FaultRow{"WmmShortLine", kWmm, kWmmHead + "  1  0  -29351.8  0.0  12.0\n", 2, "six fields"},
                      FaultRow{"WmmBadNumber", kWmm, kWmmHead + "1 0 -29351.8x 0 12 0\n", 2, "'-29351.8x' is not"},
                      FaultRow{"WmmDecimalComma", kWmm, kWmmHead + "1 0 -29351,8 0 12 0\n", 2, "not a number"},
                      FaultRow{"WmmNotFinite", kWmm, kWmmHead + "1 0 nan 0 12 0\n", 2, "not a number"},
                      FaultRow{"WmmBeyondAnyField", kWmm, kWmmHead + "1 0 1e300 0 12 0\n", 2, "beyond"},
                      FaultRow{"WmmDegreeTooHigh", kWmm, kWmmHead + "14 0 1 0 0 0\n", 2, "degree '14'"},
                      FaultRow{"WmmOrderAboveDegree", kWmm, kWmmHead + "1 2 1 0 0 0\n", 2, "order '2'"},
                      FaultRow{"WmmTermTwice", kWmm, kWmmHead + kWmm10 + kWmm11 + kWmm10, 4, "appears twice"},
                      FaultRow{"WmmTermMissing", kWmm, kWmmHead + kWmm10 + kWmmEnd, 0, "degree 1, order 1 is missing"},
                      FaultRow{"WmmNoClosingLine", kWmm, kWmmHead + kWmm10 + kWmm11, 0, "closing line"},
                      FaultRow{"WmmLineTooLong", kWmm, kWmmHead + kWmm10 + std::string(5000, ' ') + "\n", 3, "longer"},
                      FaultRow{"IgrfNoEpochLine", kIgrf, "# nothing\n" + kIgrfG, 0, "names the epochs"},
                      FaultRow{"IgrfEpochsDecrease", kIgrf, "g/h n m 2025.0 2020.0 SV\n", 1, "do not increase"},
                      FaultRow{"IgrfValueMissing", kIgrf, kIgrfHead + "g 1 0 1 1\n", 4, "expected 6 fields"},
                      FaultRow{"IgrfHOfOrderZero", kIgrf, kIgrfHead + "h 1 0 1 1 0\n", 4, "order 0"},
                      FaultRow{"IgrfNeitherGNorH", kIgrf, kIgrfHead + "q 1 0 1 1 0\n", 4, "g or h"},
                      FaultRow{"IgrfBadSecularVariation", kIgrf, kIgrfHead + "g 1 0 1 1 0x1\n", 4, "'0x1' is not"},
                      FaultRow{"IgrfHMissing", kIgrf, kIgrfHead + kIgrfG, 0, "degree 1, order 1 is missing"},
                      FaultRow{"IgrfEndsBeforeDegree13", kIgrf, kIgrfHead + kIgrfG + "h 1 1 1 1 0\n", 0, "ends at"}),
    RowName());

TEST(Readers, ReadTheSmallestWholeWmmFile)
{
    const auto result = ReadText(kWmm, kWmmHead + kWmm10 + kWmm11 + kWmmEnd);
    ASSERT_TRUE(std::holds_alternative<Model>(result)) << FaultText(std::get<ReadFault>(result));
    EXPECT_EQ(std::get<Model>(result).degree, 1);
}

// A file cut short is refused, never read as a smaller model.
TEST(Readers, RefuseTheBuiltInFilesCutAtAnyLine)
{
    for (const auto& [read, text] : {std::pair{kWmm, embedded::WmmCoefficientsText()},
                                     std::pair{kIgrf, embedded::IgrfCoefficientsText()}}) {
        const std::size_t whole = std::min(text.find("9999"), text.size() - 1); // WMM's closing line ends it
        for (std::size_t end = text.find('\n'); end < whole; end = text.find('\n', end + 1))
            EXPECT_TRUE(std::holds_alternative<ReadFault>(ReadText(read, std::string(text.substr(0, end + 1)))))
                << "cut after byte " << end;
    }
}

TEST(BuiltInModels, HoldTheirDegreesRangesAndNames)
{
    EXPECT_EQ(BuiltInModel(ModelId::Igrf14).degree, 13);
    EXPECT_EQ(RangeText(BuiltInModel(ModelId::Igrf14)), "IGRF-14's range, 1900.0 to 2030.0");
    EXPECT_EQ(BuiltInModel(ModelId::Wmm2025).degree, 12);
    EXPECT_EQ(RangeText(BuiltInModel(ModelId::Wmm2025)), "WMM2025's range, 2025.0 to 2030.0");
    EXPECT_EQ(ModelIdFromText("igrf14"), ModelId::Igrf14);
    EXPECT_EQ(ModelIdFromText(ModelIdText(ModelId::Wmm2025)), ModelId::Wmm2025);
    for (const char* unknown : {"", "IGRF14", "wmm", "igrf14 "})
        EXPECT_FALSE(ModelIdFromText(unknown)) << unknown;
}

} // namespace
