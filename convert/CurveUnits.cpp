#include "convert/CurveUnits.h"

#include <algorithm>

namespace convert {
namespace {

constexpr double kStandardGravity = 9.80665; // m/s² in one g

struct UnitSpelling {
    std::string_view text;
    Unit unit;
};

constexpr Unit kMetre{"m", 1.0};
constexpr Unit kFoot{"ft", 0.3048};
constexpr UnitSpelling kDepthUnits[] = {
    {"M", kMetre},  {"METER", kMetre}, {"METERS", kMetre}, {"METRE", kMetre}, {"METRES", kMetre},
    {"F", kFoot},   {"FT", kFoot},     {"FEET", kFoot},    {"FOOT", kFoot},
};

constexpr Unit kGauss{"G", 1.0};
constexpr Unit kMilligauss{"mG", 1e-3};
constexpr Unit kNanotesla{"nT", 1e-5};
constexpr Unit kMicrotesla{"uT", 1e-2};
constexpr UnitSpelling kMagneticUnits[] = {
    {"G", kGauss},         {"GAUSS", kGauss},      {"MG", kMilligauss},     {"MGAUSS", kMilligauss},
    {"NT", kNanotesla},    {"GAMMA", kNanotesla},  {"NANOTESLA", kNanotesla}, {"UT", kMicrotesla},
    {"\xC2\xB5T", kMicrotesla}, // micro sign
    {"\xCE\xBCT", kMicrotesla}, // Greek small mu
    {"MICROTESLA", kMicrotesla},
};

constexpr Unit kG{"g", 1.0};
constexpr Unit kMilliG{"mg", 1e-3};
constexpr Unit kMetresPerSecond2{"m/s2", 1.0 / kStandardGravity};
constexpr UnitSpelling kAccelerationUnits[] = {
    {"G", kG},
    {"MG", kMilliG},
    {"MILLI-G", kMilliG},
    {"M/S2", kMetresPerSecond2},
    {"M/S^2", kMetresPerSecond2},
    {"M/S**2", kMetresPerSecond2},
    {"M/S/S", kMetresPerSecond2},
    {"M/S\xC2\xB2", kMetresPerSecond2}, // m/s with a superscript two
};

struct MnemonicAxis {
    std::string_view mnemonic;
    Axis axis;
};

constexpr MnemonicAxis kMnemonics[] = {
    {"DEPT", Axis::Depth},   {"DEPTH", Axis::Depth},  {"MD", Axis::Depth},
    {"MAGX", Axis::MagX},    {"MX", Axis::MagX},      {"HX", Axis::MagX},    {"BX", Axis::MagX},
    {"MAG_X", Axis::MagX},   {"FX", Axis::MagX},      {"MAGY", Axis::MagY},  {"MY", Axis::MagY},
    {"HY", Axis::MagY},      {"BY", Axis::MagY},      {"MAG_Y", Axis::MagY}, {"FY", Axis::MagY},
    {"MAGZ", Axis::MagZ},    {"MZ", Axis::MagZ},      {"HZ", Axis::MagZ},    {"BZ", Axis::MagZ},
    {"MAG_Z", Axis::MagZ},   {"FZ", Axis::MagZ},      {"ACCX", Axis::AccX},  {"AX", Axis::AccX},
    {"GX", Axis::AccX},      {"ACC_X", Axis::AccX},   {"ACCY", Axis::AccY},  {"AY", Axis::AccY},
    {"GY", Axis::AccY},      {"ACC_Y", Axis::AccY},   {"ACCZ", Axis::AccZ},  {"AZ", Axis::AccZ},
    {"GZ", Axis::AccZ},      {"ACC_Z", Axis::AccZ},
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

template <std::size_t N>
std::optional<Unit> Find(const UnitSpelling (&table)[N], std::string_view text)
{
    for (const UnitSpelling& spelling : table) {
        if (SameIgnoringCase(spelling.text, text))
            return spelling.unit;
    }
    return std::nullopt;
}

template <std::size_t N>
std::vector<Unit> Distinct(const UnitSpelling (&table)[N])
{
    std::vector<Unit> units;
    for (const UnitSpelling& spelling : table) {
        if (std::find(units.begin(), units.end(), spelling.unit) == units.end())
            units.push_back(spelling.unit);
    }
    return units;
}

} // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    }
    return true;
}

Quantity QuantityOf(Axis axis)
{
    switch (axis) {
    case Axis::Depth:
        return Quantity::Depth;
    case Axis::MagX:
    case Axis::MagY:
    case Axis::MagZ:
        return Quantity::Magnetic;
    default:
        return Quantity::Acceleration;
    }
}

std::string_view AxisName(Axis axis) { return kAxisNames[static_cast<std::size_t>(axis)]; }

std::optional<Unit> UnitFor(Quantity quantity, std::string_view text)
{
    switch (quantity) {
    case Quantity::Depth:
        return Find(kDepthUnits, text);
    case Quantity::Magnetic:
        return Find(kMagneticUnits, text);
    case Quantity::Acceleration:
        return Find(kAccelerationUnits, text);
    }
    return std::nullopt;
}

std::vector<Unit> UnitsOf(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Depth:
        return Distinct(kDepthUnits);
    case Quantity::Magnetic:
        return Distinct(kMagneticUnits);
    case Quantity::Acceleration:
        return Distinct(kAccelerationUnits);
    }
    return {};
}

std::optional<Axis> AxisForMnemonic(std::string_view mnemonic)
{
    for (const MnemonicAxis& entry : kMnemonics) {
        if (SameIgnoringCase(entry.mnemonic, mnemonic))
            return entry.axis;
    }
    return std::nullopt;
}

std::optional<Axis> AxisNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kAxisCount; ++i) {
        if (SameIgnoringCase(kAxisNames[i], name))
            return static_cast<Axis>(i);
    }
    return std::nullopt;
}

} // namespace convert
