#pragma once

#include "convert/CurveUnits.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace convert {

// One curve of a LAS file's curve list as the converter reads it: the
// mnemonic and unit of `MNEM.UNIT  DATA : DESCRIPTION`, both without their
// blanks, and the name the raw survey file gives it.
struct LasCurve {
    std::string mnemonic;
    std::string unit;
    std::string name;
};

// The LAS curve that gives one of kestrix's seven columns, and its unit.
struct MappedCurve {
    std::string mnemonic;
    Unit unit;
};

// Which LAS curve gives each of kestrix's seven columns, in axis order.
struct CurveMapping {
    std::array<MappedCurve, kAxisCount> curves;
};

// Reads "DEPTH=DEPT:ft,MagX=HX:nT,...": all seven axes once each, by their
// loader names, each a distinct LAS mnemonic and a unit of the axis's quantity.
// Nothing, with the reason in `error`, when the text is malformed.
std::optional<CurveMapping> ParseCurveMapping(std::string_view text, std::string& error);

// The mapping in the form ParseCurveMapping reads.
std::string CurveMappingText(const CurveMapping& mapping);

// What the converter proposes for a curve list: the identity (the curves are
// already kestrix's, conversion as written) or a curve and unit for each axis
// it could place. A caller may show it, change `curves` and convert with
// Mapping().
struct MappingProposal {
    bool identity = false;
    std::array<std::optional<MappedCurve>, kAxisCount> curves;
    // Why an axis stayed unplaced when a curve was found for it but not its unit.
    std::array<std::string, kAxisCount> problems;

    // The axes without a curve, each with its reason when there is one
    // ("MagX (HX has unit \"XYZ\")").
    std::vector<std::string> Unplaced() const;
    // The mapping when every axis is placed.
    std::optional<CurveMapping> Mapping() const;
};

// Proposes a mapping for a curve list: the identity when the first seven
// curve names are DEPTH, MagX, MagY, MagZ, AccX, AccY, AccZ; otherwise the
// first curve whose mnemonic the table knows for each axis, with the unit of
// its unit field.
MappingProposal ProposeCurveMapping(const std::vector<LasCurve>& curves);

} // namespace convert
