#pragma once

#include <string>
#include <string_view>

// Number text that never depends on the user's locale: files written under a
// comma-decimal locale must read back anywhere, so everything here behaves as
// the C library does in the "C" locale.

// Checks printf-style arguments against their format where the compiler can.
#if defined(__GNUC__) || defined(__clang__)
#define TEXTIO_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define TEXTIO_PRINTF_FORMAT(formatIndex, firstArgument)
#endif

namespace textio {

// Reads a number from the start of `token` as sscanf("%lf") does in the C
// locale: true and `value` set when that conversion succeeds (characters after
// the number are ignored), false and `value` untouched otherwise.
bool ReadNumber(std::string_view token, double& value);

// Reads a number from the start of `token` as ReadNumber does, and refuses
// what would be read as something else: a number that runs on into a decimal
// comma or a second decimal point ("0,04635", "1.2.3") and one that is not
// finite ("nan", "inf", "1e999"). Other text after the number is ignored
// ("12.5km" reads 12.5). False and `value` untouched when refused.
bool ReadFiniteNumber(std::string_view token, double& value);

// Reads `token` when it is wholly a plain decimal without exponent (optional
// sign, digits with an optional point) of at most 19 digits that form an
// integer up to 2^53, with at most 22 after the point: such a number is read
// exactly, by one division, as the C library and std::from_chars round it.
// False and `value` untouched for any other token, which another reader must
// then take.
bool ReadShortDecimal(std::string_view token, double& value);

// Reads `text` when it holds exactly one number as sscanf("%lf") reads it in
// the C locale, with nothing but white space before or after it ("1,5",
// "1000abc" and "12 13" are refused). False and `value` untouched otherwise.
// Infinities and NaN are numbers here; callers that need a finite value check.
bool ReadWholeNumber(std::string_view text, double& value);

// Length of the longest leading part of `token` that forms a plain decimal
// number (optional sign, digits with an optional fraction, an optional
// exponent with digits); 0 when there is none.
std::size_t DecimalPrefixLength(std::string_view token);

// printf-style formatting in the C locale, appended to `out`.
void AppendFormat(std::string& out, const char* format, ...) TEXTIO_PRINTF_FORMAT(2, 3);

// Appends `value` as "%*.*f" writes it with `width` and `decimals` in the C
// locale, except that a value that rounds to zero is written without a minus
// sign ("0.0", never "-0.0").
void AppendFixed(std::string& out, int width, int decimals, double value);

// Appends the shortest text that reads back as exactly `value` ("0.1",
// "-2.5e-07"), as std::to_chars writes it: full precision in few characters.
// Zero is "0" whatever its sign, NaN "nan", the infinities "inf" and "-inf".
void AppendShortest(std::string& out, double value);

// As AppendFormat, returning the text.
std::string Format(const char* format, ...) TEXTIO_PRINTF_FORMAT(1, 2);

// Splits `line` at blanks, tabs and line feeds and calls `sink(token)` for each
// token in order until the callback returns false.
template <typename Sink>
void ForEachToken(std::string_view line, Sink&& sink)
{
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\n'))
            ++i;
        if (i == n)
            break;
        const std::size_t start = i;
        while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\n')
            ++i;
        if (!sink(line.substr(start, i - start)))
            return;
    }
}

} // namespace textio
