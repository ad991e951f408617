#include "convert/LasPreview.h"

#include "convert/CurveUnits.h"
#include "textio/NumberText.h"

#include <cmath>
#include <optional>

namespace convert {
namespace {

enum class CollarValue { Easting, Northing, Height, Declination };

// The mnemonics each value goes by, the likeliest first.
struct CollarMnemonics {
    CollarValue value;
    std::vector<std::string_view> mnemonics;
    const char* label;
};

const std::vector<CollarMnemonics>& Table()
{
    static const std::vector<CollarMnemonics> table{
        {CollarValue::Easting, {"EASTING", "EAST", "XCOORD", "X_COORD", "XWELL", "UTM_E", "X"}, "Easting"},
        {CollarValue::Northing, {"NORTHING", "NORTH", "YCOORD", "Y_COORD", "YWELL", "UTM_N", "Y"}, "Northing"},
        // The depth reference first: depths are measured from it.
        {CollarValue::Height, {"EREF", "EKB", "ELEV_KB", "EDF", "ELEV", "ELEVATION", "EGL", "ELEV_GL", "GL"}, "Height"},
        {CollarValue::Declination, {"DECL", "DECLINATION", "MAGDEC", "MAG_DEC", "MDEC", "MAGDECL", "DEC"}, "Declination"},
    };
    return table;
}

std::string NullText(const std::vector<HeaderValue>& header)
{
    for (const HeaderValue& line : header) {
        if (line.section == 'W' && SameIgnoringCase(line.mnemonic, "NULL"))
            return line.value;
    }
    return {};
}

// The value of one header line in the collar's units, or nothing when it is
// no number, the NULL value, or in a unit the collar cannot take (a
// longitude in degrees under XCOORD, say).
std::optional<double> ValueOf(const HeaderValue& line, CollarValue value, const std::string& nullText)
{
    double number = 0.0;
    if (line.value.empty() || line.value == nullText || !textio::ReadWholeNumber(line.value, number)
        || !std::isfinite(number))
        return std::nullopt;
    if (value == CollarValue::Declination) {
        const bool degrees = line.unit.empty() || SameIgnoringCase(line.unit, "DEG")
                          || SameIgnoringCase(line.unit, "DEGREES") || line.unit == "\xC2\xB0";
        return degrees ? std::optional(number) : std::nullopt;
    }
    if (line.unit.empty())
        return number;
    const std::optional<Unit> unit = UnitFor(Quantity::Depth, line.unit);
    return unit ? std::optional(number * unit->factor) : std::nullopt;
}

void Set(Collar& collar, CollarValue value, double number)
{
    switch (value) {
    case CollarValue::Easting:
        collar.easting = number;
        break;
    case CollarValue::Northing:
        collar.northing = number;
        break;
    case CollarValue::Height:
        collar.height = number;
        break;
    case CollarValue::Declination:
        collar.declination = 0.0 - number; // never -0
        break;
    }
}

} // namespace

CollarFromLas CollarFromHeader(const std::vector<HeaderValue>& header)
{
    CollarFromLas result;
    const std::string nullText = NullText(header);
    for (const CollarMnemonics& entry : Table()) {
        bool found = false;
        for (const std::string_view mnemonic : entry.mnemonics) {
            for (const char section : {'W', 'P'}) {
                for (const HeaderValue& line : header) {
                    if (found || line.section != section || !SameIgnoringCase(line.mnemonic, mnemonic))
                        continue;
                    const std::optional<double> number = ValueOf(line, entry.value, nullText);
                    if (!number)
                        continue;
                    found = true;
                    Set(result.collar, entry.value, *number);
                    std::string said = textio::Format("%s from %s %s", entry.label, line.mnemonic.c_str(),
                                                      line.value.c_str());
                    if (!line.unit.empty())
                        said += " " + line.unit;
                    if (entry.value == CollarValue::Declination)
                        said += textio::Format(" (east positive), entered as %.2f", result.collar.declination);
                    result.taken.push_back(said);
                }
            }
        }
    }
    return result;
}

} // namespace convert
