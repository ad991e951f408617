#include "convert/CurveMapping.h"

namespace convert {
namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsIdentity(const std::vector<LasCurve>& curves)
{
    if (curves.size() < kAxisCount)
        return false;
    for (std::size_t i = 0; i < kAxisCount; ++i) {
        if (Trimmed(curves[i].name) != kAxisNames[i])
            return false;
    }
    return true;
}

} // namespace

std::optional<CurveMapping> ParseCurveMapping(std::string_view text, std::string& error)
{
    CurveMapping mapping;
    std::array<bool, kAxisCount> given{};
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::string_view entry = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t equals = entry.find('=');
        const std::size_t colon = entry.find(':', equals == std::string_view::npos ? 0 : equals);
        if (equals == std::string_view::npos || colon == std::string_view::npos) {
            error = "\"" + std::string(entry) + "\" is not AXIS=MNEMONIC:UNIT";
            return std::nullopt;
        }
        const std::string_view axisName = entry.substr(0, equals);
        const std::string_view mnemonic = entry.substr(equals + 1, colon - equals - 1);
        const std::string_view unitText = entry.substr(colon + 1);
        const std::optional<Axis> axis = AxisNamed(axisName);
        if (!axis) {
            error = "\"" + std::string(axisName) + "\" is none of DEPTH, MagX, MagY, MagZ, AccX, AccY, AccZ";
            return std::nullopt;
        }
        const std::size_t index = static_cast<std::size_t>(*axis);
        if (given[index]) {
            error = std::string(AxisName(*axis)) + " is given twice";
            return std::nullopt;
        }
        if (mnemonic.empty()) {
            error = std::string(AxisName(*axis)) + " needs a LAS mnemonic";
            return std::nullopt;
        }
        const std::optional<Unit> unit = UnitFor(QuantityOf(*axis), unitText);
        if (!unit) {
            error = "\"" + std::string(unitText) + "\" is no unit of " + std::string(AxisName(*axis));
            return std::nullopt;
        }
        for (std::size_t other = 0; other < kAxisCount; ++other) {
            // One LAS curve gives one column: a second axis would find no curve left.
            if (given[other] && SameIgnoringCase(mapping.curves[other].mnemonic, mnemonic)) {
                error = std::string(mnemonic) + " is given for both " + std::string(kAxisNames[other]) + " and "
                      + std::string(AxisName(*axis));
                return std::nullopt;
            }
        }
        given[index] = true;
        mapping.curves[index] = MappedCurve{std::string(mnemonic), *unit};
        if (comma == std::string_view::npos)
            break;
    }
    for (std::size_t i = 0; i < kAxisCount; ++i) {
        if (!given[i]) {
            error = std::string(kAxisNames[i]) + " is missing: the mapping names all seven curves";
            return std::nullopt;
        }
    }
    return mapping;
}

std::string CurveMappingText(const CurveMapping& mapping)
{
    std::string text;
    for (std::size_t i = 0; i < kAxisCount; ++i) {
        if (i > 0)
            text.push_back(',');
        text.append(kAxisNames[i]).append("=").append(mapping.curves[i].mnemonic).append(":");
        text.append(mapping.curves[i].unit.name);
    }
    return text;
}

std::vector<std::string> MappingProposal::Unplaced() const
{
    std::vector<std::string> unplaced;
    for (std::size_t i = 0; i < kAxisCount && !identity; ++i) {
        if (!curves[i])
            unplaced.push_back(std::string(kAxisNames[i]) + (problems[i].empty() ? "" : " (" + problems[i] + ")"));
    }
    return unplaced;
}

std::optional<CurveMapping> MappingProposal::Mapping() const
{
    CurveMapping mapping;
    for (std::size_t i = 0; i < kAxisCount; ++i) {
        if (!curves[i])
            return std::nullopt;
        mapping.curves[i] = *curves[i];
    }
    return mapping;
}

MappingProposal ProposeCurveMapping(const std::vector<LasCurve>& curves)
{
    MappingProposal proposal;
    if (IsIdentity(curves)) {
        proposal.identity = true;
        return proposal;
    }
    for (const LasCurve& curve : curves) {
        const std::optional<Axis> axis = AxisForMnemonic(curve.mnemonic);
        if (!axis)
            continue;
        const std::size_t index = static_cast<std::size_t>(*axis);
        if (proposal.curves[index] || !proposal.problems[index].empty())
            continue; // the first curve of an axis is taken
        if (const std::optional<Unit> unit = UnitFor(QuantityOf(*axis), curve.unit))
            proposal.curves[index] = MappedCurve{curve.mnemonic, *unit};
        else
            proposal.problems[index] = curve.mnemonic + " has unit \"" + curve.unit + "\"";
    }
    return proposal;
}

} // namespace convert
