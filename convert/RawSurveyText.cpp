#include "convert/RawSurveyText.h"

#include "textio/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace convert {
namespace {

constexpr std::size_t kFieldWidth = 10;
constexpr std::size_t kDecimals = 5;
// Plain decimals with at most this many integer digits (and at most five
// decimals) lie well inside the range where a double holds every multiple
// of 0.00001 closely enough that "%.5f" gives back the same digits.
constexpr std::size_t kMaxDirectIntegerDigits = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Copies `size` characters, at most 16, with a few fixed-size moves (which
// compilers turn into single loads and stores) instead of a call.
void CopyShort(char* to, const char* from, std::size_t size)
{
    if (size >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else {
        for (std::size_t k = 0; k < size; ++k)
            to[k] = from[k];
    }
}

void AppendPadded(std::string& out, std::string_view text)
{
    if (text.size() < kFieldWidth)
        out.append(kFieldWidth - text.size(), ' ');
    out.append(text);
}

void AppendCollarLine(std::string& out, std::string_view label, int width, double value)
{
    const std::string number = textio::Format("%*.2f", width, value);
    out.append(label);
    if (label.back() != ' ' && !number.empty() && number.front() != ' ')
        out.push_back(' ');
    out.append(number);
    out.append("\r\n");
}

} // namespace

std::string CollarBlockText(const Collar& collar)
{
    std::string out = "Collar coordinates:\r\n";
    AppendCollarLine(out, "Easting ", 11, collar.easting);
    AppendCollarLine(out, "Northing", 11, collar.northing);
    AppendCollarLine(out, "Height  ", 11, collar.height);
    AppendCollarLine(out, "Declination", 8, collar.declination);
    return out;
}

void AppendNameField(std::string& out, std::string_view name) { AppendPadded(out, name); }

namespace {

// The value of a plain decimal `number`; out of range, the infinity or the
// value towards zero that the C library's conversion gives.
double DecimalValue(std::string_view number)
{
    if (number.empty())
        return 0.0;
    std::string_view unsigned_ = number.front() == '+' ? number.substr(1) : number;
    double value = 0.0;
    const auto result = std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value);
    if (result.ec == std::errc())
        return value;
    textio::ReadNumber(number, value);
    return value;
}

} // namespace

double LeadingDecimalValue(std::string_view token)
{
    const double value = DecimalValue(token.substr(0, textio::DecimalPrefixLength(token)));
    return std::isfinite(value) ? value : 0.0;
}

bool WholeDecimalValue(std::string_view token, double& value)
{
    if (textio::ReadShortDecimal(token, value))
        return true;
    if (token.empty() || textio::DecimalPrefixLength(token) != token.size())
        return false;
    const double read = DecimalValue(token);
    if (!std::isfinite(read))
        return false;
    value = read;
    return true;
}

namespace {

// `text` right-aligned in a field of at least kFieldWidth characters.
char* PutPadded(char* to, std::string_view text)
{
    const std::size_t pad = text.size() < kFieldWidth ? kFieldWidth - text.size() : 0;
    to = std::fill_n(to, pad, ' ');
    return std::copy(text.begin(), text.end(), to);
}

char* PutValueField(char* to, double value)
{
    // Room for the widest fixed-notation double (309 integer digits).
    char text[kLongestValueField];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                      static_cast<int>(kDecimals));
    if (result.ec != std::errc())
        return PutPadded(to, std::string_view(textio::Format("%.5f", value)).substr(0, kLongestValueField));
    return PutPadded(to, std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

} // namespace

void AppendValueField(std::string& out, double value)
{
    char field[kLongestValueField];
    out.append(field, PutValueField(field, value));
}

bool AppendTokenField(std::string& out, std::string_view token)
{
    char field[kLongestValueField];
    const PutField put = PutTokenField(field, token);
    out.append(field, put.end);
    return put.wholeNumber;
}

PutField PutTokenField(char* to, std::string_view t)
{
    const std::size_t n = t.size();
    std::size_t i = 0;
    const bool negative = i < n && t[i] == '-';
    if (i < n && (t[i] == '+' || t[i] == '-'))
        ++i;
    while (i < n && t[i] == '0')
        ++i;
    const std::size_t intStart = i;
    while (i < n && IsDigit(t[i]))
        ++i;
    const std::size_t intEnd = i;
    const bool hadDigits = intEnd > 0 && IsDigit(t[intEnd - 1]);
    std::size_t fracStart = i;
    std::size_t fracEnd = i;
    if (i < n && t[i] == '.') {
        fracStart = ++i;
        while (i < n && IsDigit(t[i]))
            ++i;
        fracEnd = i;
    }
    const bool anyDigits = hadDigits || fracEnd > fracStart;
    // An exponent counts only when digits follow its letter and sign.
    std::size_t e = i + 1;
    if (e < n && (t[e] == '+' || t[e] == '-'))
        ++e;
    const bool exponent = i < n && (t[i] == 'e' || t[i] == 'E') && e < n && IsDigit(t[e]);
    if (!anyDigits || exponent || intEnd - intStart > kMaxDirectIntegerDigits
        || fracEnd - fracStart > kDecimals) {
        const std::size_t length = textio::DecimalPrefixLength(t);
        const double value = DecimalValue(t.substr(0, length));
        const bool finite = std::isfinite(value);
        return {PutValueField(to, finite ? value : 0.0), finite && length > 0 && length == n};
    }
    // The field is built whole and appended once: blanks, sign, the integer
    // digits (or 0) with the point and decimals as the token has them, then
    // the point if it had none and zeros up to five decimals.
    const std::size_t intDigits = intEnd - intStart;
    const std::size_t fracDigits = fracEnd - fracStart;
    const std::size_t textLength = (negative ? 1 : 0) + std::max<std::size_t>(intDigits, 1) + 1 + kDecimals;
    const std::size_t pad = textLength < kFieldWidth ? kFieldWidth - textLength : 0;
    std::memcpy(to, "        ", 8); // pad is at most 3
    char* at = to + pad;
    if (negative)
        *at++ = '-';
    if (intDigits == 0)
        *at++ = '0';
    const std::size_t digitsEnd = fracStart > intEnd ? fracEnd : intEnd;
    CopyShort(at, t.data() + intStart, digitsEnd - intStart);
    at += digitsEnd - intStart;
    if (fracStart == intEnd)
        *at++ = '.';
    std::memcpy(at, "00000000", 8);
    at += kDecimals - fracDigits;
    return {at, i == n};
}

} // namespace convert
