#include "convert/RawSurveyText.h"

#include "textio/NumberText.h"

#include <charconv>
#include <cmath>

namespace convert {
namespace {

constexpr std::size_t kFieldWidth = 10;
constexpr std::size_t kDecimals = 5;
// Plain decimals with at most this many integer digits (and at most five
// decimals) lie well inside the range where a double holds every multiple
// of 0.00001 closely enough that "%.5f" gives back the same digits.
constexpr std::size_t kMaxDirectIntegerDigits = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
    if (token.empty() || textio::DecimalPrefixLength(token) != token.size())
        return false;
    const double read = DecimalValue(token);
    if (!std::isfinite(read))
        return false;
    value = read;
    return true;
}

void AppendValueField(std::string& out, double value)
{
    // Enough for the widest fixed-notation double (309 integer digits).
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                                      static_cast<int>(kDecimals));
    if (result.ec != std::errc()) {
        AppendPadded(out, textio::Format("%.5f", value));
        return;
    }
    AppendPadded(out, std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

bool AppendTokenField(std::string& out, std::string_view t)
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
        AppendValueField(out, finite ? value : 0.0);
        return finite && length > 0 && length == n;
    }
    char text[32];
    std::size_t length = 0;
    if (negative)
        text[length++] = '-';
    if (intEnd == intStart)
        text[length++] = '0';
    for (std::size_t k = intStart; k < intEnd; ++k)
        text[length++] = t[k];
    text[length++] = '.';
    for (std::size_t k = fracStart; k < fracEnd; ++k)
        text[length++] = t[k];
    for (std::size_t k = fracEnd - fracStart; k < kDecimals; ++k)
        text[length++] = '0';
    AppendPadded(out, std::string_view(text, length));
    return i == n;
}

} // namespace convert
