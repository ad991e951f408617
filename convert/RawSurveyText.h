#pragma once

#include "convert/Collar.h"

#include <string>
#include <string_view>

// The pieces of a raw survey file as the converter writes them. Every line
// ends in CR LF; numbers never depend on the user's locale.
namespace convert {

// The title line and the collar block (lines 1 to 5 of a raw survey file).
// A number that fills its whole field is parted from a label that has no
// blank of its own by one blank, so that the loader can always read it.
std::string CollarBlockText(const Collar& collar);

// Appends one curve name right-aligned in a field of at least 10 characters.
void AppendNameField(std::string& out, std::string_view name);

// The value of the leading decimal number of `token`, 0.0 when it has none.
// A number too large for a double is 0.0 too (the survey loader refuses
// infinities); a tiny one goes towards zero as the C library takes it.
double LeadingDecimalValue(std::string_view token);

// True, with its value, when `token` is wholly one finite decimal number.
bool WholeDecimalValue(std::string_view token, double& value);

// The most characters one value field takes: the widest double in "%.5f".
inline constexpr std::size_t kLongestValueField = 320;

// Appends `value` formatted as "%*.5lf" with width 10 in the C locale.
void AppendValueField(std::string& out, double value);

// Appends the data value of `token` as the converter writes it: exactly
// AppendValueField(out, LeadingDecimalValue(token)). Short plain decimals
// are rewritten straight from their text, which gives the same characters.
// True when the token was wholly a finite number, false when something else
// was written in its place (its leading number or 0).
bool AppendTokenField(std::string& out, std::string_view token);

// Writes what AppendTokenField appends to `to`, which has room for
// kLongestValueField characters: the end of what was written, and whether
// the token was wholly a finite number (what AppendTokenField returns).
struct PutField {
    char* end;
    bool wholeNumber;
};
PutField PutTokenField(char* to, std::string_view token);

} // namespace convert
