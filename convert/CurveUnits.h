#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// The seven curves kestrix reads from a raw survey file, the LAS mnemonics
// that probes use for them and the units they come in.
namespace convert {

enum class Axis { Depth, MagX, MagY, MagZ, AccX, AccY, AccZ };
inline constexpr std::size_t kAxisCount = 7;
// The names the survey loader looks for, in the order of its columns.
inline constexpr std::array<std::string_view, kAxisCount> kAxisNames = {"DEPTH", "MagX", "MagY", "MagZ",
                                                                         "AccX",  "AccY", "AccZ"};

enum class Quantity { Depth, Magnetic, Acceleration };

// A unit of one quantity: its short name and the factor that takes a value
// into the raw survey file's unit (metres, gauss, g).
struct Unit {
    std::string_view name;
    double factor = 1.0;
    bool operator==(const Unit& other) const { return name == other.name; }
};

Quantity QuantityOf(Axis axis);
std::string_view AxisName(Axis axis);

// The unit that a LAS unit field names for a quantity, read in its family
// (on a magnetometer curve "G" is gauss, on an accelerometer curve g);
// case-insensitive; nothing when the text names no unit of that quantity.
std::optional<Unit> UnitFor(Quantity quantity, std::string_view text);

// The units of a quantity, each once, the raw survey file's first.
std::vector<Unit> UnitsOf(Quantity quantity);

// The axis a LAS mnemonic stands for in the table of known mnemonics
// (DEPT, MX, HX, ACC_X, ...), case-insensitive; nothing when unknown.
std::optional<Axis> AxisForMnemonic(std::string_view mnemonic);

// The axis of a loader name ("DEPTH", "MagX", ...), case-insensitive.
std::optional<Axis> AxisNamed(std::string_view name);

// Whether two texts are equal ignoring ASCII letter case.
bool SameIgnoringCase(std::string_view a, std::string_view b);

} // namespace convert
