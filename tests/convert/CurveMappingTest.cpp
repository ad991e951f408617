#include "convert/CurveMapping.h"
#include "NamedRows.h"

#include <gtest/gtest.h>

using namespace convert;

namespace {

struct UnitRow {
    const char* name;
    Quantity quantity;
    std::string text;
    double factor; // 0 when the text names no unit of the quantity
};

class UnitField : public ::testing::TestWithParam<UnitRow> {};

// A unit is read in the family of the curve's quantity: "G" and "MG" mean
// different things on a magnetometer and on an accelerometer.
TEST_P(UnitField, IsReadInTheFamilyOfTheQuantity)
{
    const std::optional<Unit> unit = UnitFor(GetParam().quantity, GetParam().text);
    if (GetParam().factor == 0.0)
        EXPECT_FALSE(unit) << unit->name;
    else
        EXPECT_DOUBLE_EQ(unit.value_or(Unit{"none", 0.0}).factor, GetParam().factor);
}

INSTANTIATE_TEST_SUITE_P(
    CurveMapping, UnitField,
    ::testing::Values(UnitRow{"GaussOnAMagnetometer", Quantity::Magnetic, "G", 1.0},
                      UnitRow{"GOnAnAccelerometer", Quantity::Acceleration, "g", 1.0},
                      UnitRow{"MilligaussOnAMagnetometer", Quantity::Magnetic, "MG", 1e-3},
                      UnitRow{"MilliGOnAnAccelerometer", Quantity::Acceleration, "mG", 1e-3},
                      UnitRow{"Nanotesla", Quantity::Magnetic, "nt", 1e-5},
                      UnitRow{"Gamma", Quantity::Magnetic, "GAMMA", 1e-5},
                      UnitRow{"MicroteslaInLetters", Quantity::Magnetic, "UT", 1e-2},
                      UnitRow{"MicroteslaWithTheMicroSign", Quantity::Magnetic, "\xC2\xB5T", 1e-2},
                      UnitRow{"MetresPerSecondSquared", Quantity::Acceleration, "M/S**2", 1 / 9.80665},
                      UnitRow{"MetresPerSecondSquaredWithACaret", Quantity::Acceleration, "m/s^2", 1 / 9.80665},
                      UnitRow{"Feet", Quantity::Depth, "F", 0.3048},
                      UnitRow{"Metres", Quantity::Depth, "M", 1.0},
                      UnitRow{"NanoteslaIsNoAcceleration", Quantity::Acceleration, "NT", 0.0},
                      UnitRow{"MetresPerSecondSquaredIsNoField", Quantity::Magnetic, "M/S2", 0.0},
                      UnitRow{"EmptyUnitIsNone", Quantity::Depth, "", 0.0}),
    RowName());

struct ParseRow {
    const char* name;
    std::string text;
    std::string error; // empty when the text is a mapping
};

class MappingText : public ::testing::TestWithParam<ParseRow> {};

TEST_P(MappingText, IsAllSevenAxesOnce)
{
    std::string error;
    const std::optional<CurveMapping> mapping = ParseCurveMapping(GetParam().text, error);
    EXPECT_EQ(error.substr(0, GetParam().error.size()), GetParam().error);
    EXPECT_EQ(error.empty(), GetParam().error.empty()) << error;
    EXPECT_EQ(mapping.has_value(), GetParam().error.empty());
    if (mapping) { // the text it prints reads back the same
        EXPECT_EQ(ParseCurveMapping(CurveMappingText(*mapping), error)->curves[1].unit, mapping->curves[1].unit);
    }
}

const std::string kSix = "MagY=HY:nT,MagZ=HZ:nT,AccX=AX:mg,AccY=AY:mg,AccZ=AZ:mg";

INSTANTIATE_TEST_SUITE_P(
    CurveMapping, MappingText,
    ::testing::Values(ParseRow{"AllSevenInAnyOrderAndCase", "magx=HX:NT,depth=DEPT:feet," + kSix, ""},
                      ParseRow{"OneMissing", "DEPTH=DEPT:ft," + kSix, "MagX is missing"},
                      ParseRow{"OneTwice", "MagX=HX:nT,MagX=BX:nT,DEPTH=DEPT:ft," + kSix, "MagX is given twice"},
                      ParseRow{"OneCurveForTwoAxes", "DEPTH=HY:ft,MagX=HX:nT," + kSix, "HY is given for both DEPTH and MagY"},
                      ParseRow{"UnknownAxis", "Gamma=GR:api", "\"Gamma\" is none of"},
                      ParseRow{"NoUnit", "DEPTH=DEPT,MagX=HX:nT," + kSix, "\"DEPTH=DEPT\" is not"},
                      ParseRow{"NoMnemonic", "DEPTH=:ft,MagX=HX:nT," + kSix, "DEPTH needs a LAS mnemonic"},
                      ParseRow{"UnitOfAnotherQuantity", "DEPTH=DEPT:g,MagX=HX:nT," + kSix, "\"g\" is no unit of DEPTH"},
                      ParseRow{"TrailingComma", "DEPTH=DEPT:ft,MagX=HX:nT," + kSix + ",", "\"\" is not"}),
    RowName());

struct ProposalRow {
    const char* name;
    std::vector<LasCurve> curves;
    bool identity;
    std::string mapping;  // CurveMappingText of the proposal, when complete
    std::string unplaced; // the first unplaced axis, when not
};

class Proposal : public ::testing::TestWithParam<ProposalRow> {};

TEST_P(Proposal, PlacesTheCurvesTheTableKnows)
{
    const MappingProposal proposal = ProposeCurveMapping(GetParam().curves);
    EXPECT_EQ(proposal.identity, GetParam().identity);
    const std::optional<CurveMapping> mapping = proposal.Mapping();
    EXPECT_EQ(mapping ? CurveMappingText(*mapping) : "", GetParam().mapping);
    const std::vector<std::string> unplaced = proposal.Unplaced();
    EXPECT_EQ(unplaced.empty() ? "" : unplaced.front(), GetParam().unplaced);
}

std::vector<LasCurve> Curves(std::vector<std::pair<std::string, std::string>> mnemonicsAndUnits)
{
    std::vector<LasCurve> curves;
    for (const auto& [mnemonic, unit] : mnemonicsAndUnits)
        curves.push_back({mnemonic, unit, " " + mnemonic});
    return curves;
}

const std::vector<LasCurve> kKestrixCurves = {{"DEPT", "M", " DEPTH"}, {"MAGX", "G", " MagX"}, {"MAGY", "G", " MagY"},
                                              {"MAGZ", "G", " MagZ"},  {"ACCX", "M/S2", " AccX"}, {"ACCY", "M/S2", " AccY"},
                                              {"ACCZ", "M/S2", " AccZ"}, {"GR", "API", " gamma"}};

INSTANTIATE_TEST_SUITE_P(
    CurveMapping, Proposal,
    ::testing::Values(
        ProposalRow{"KestrixNamesFirstAreTheIdentity", kKestrixCurves, true, "", ""},
        ProposalRow{"KestrixNamesOutOfOrderAreMapped",
                    {kKestrixCurves[1], kKestrixCurves[0], kKestrixCurves[2], kKestrixCurves[3], kKestrixCurves[4],
                     kKestrixCurves[5], kKestrixCurves[6]},
                    false, "DEPTH=DEPT:m,MagX=MAGX:G,MagY=MAGY:G,MagZ=MAGZ:G,AccX=ACCX:m/s2,AccY=ACCY:m/s2,AccZ=ACCZ:m/s2",
                    ""},
        ProposalRow{"AnotherMakersMnemonicsAmongOtherCurves",
                    Curves({{"TEMP", "DEGC"}, {"mag_z", "uT"}, {"Md", "FT"}, {"BX", "nT"}, {"BY", "nT"},
                            {"ACC_X", "G"}, {"GY", "MG"}, {"az", "M/S2"}, {"MX", "G"}}),
                    false, "DEPTH=Md:ft,MagX=BX:nT,MagY=BY:nT,MagZ=mag_z:uT,AccX=ACC_X:g,AccY=GY:mg,AccZ=az:m/s2", ""},
        ProposalRow{"AnUnknownUnitIsNamed",
                    Curves({{"DEPT", "M"}, {"HX", "OE"}, {"HY", "NT"}, {"HZ", "NT"}, {"AX", "G"}, {"AY", "G"}, {"AZ", "G"}}),
                    false, "", "MagX (HX has unit \"OE\")"},
        ProposalRow{"AMissingAxisIsNamed", Curves({{"DEPT", "M"}, {"HX", "NT"}}), false, "", "MagY"}),
    RowName());

} // namespace
