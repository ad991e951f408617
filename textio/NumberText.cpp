#include "textio/NumberText.h"

#include "textio/CLocaleText.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>

namespace textio {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of `token` and how many characters it took.
bool ReadWithScanf(std::string_view token, double& value, std::size_t& length)
{
    const std::string text(token); // sscanf needs a terminated string
    double parsed = 0.0;
    int consumed = 0;
    if (!ScanNumberInCLocale(text.c_str(), parsed, consumed))
        return false;
    value = parsed;
    length = static_cast<std::size_t>(consumed);
    return true;
}

// A token that ReadShortDecimal does not take.
bool ReadOtherNumberPrefix(std::string_view token, double& value, std::size_t& length)
{
    // A token that is one plain decimal reads the same through from_chars,
    // which is much faster than the C library's scanner.
    if (!token.empty() && DecimalPrefixLength(token) == token.size()) {
        const char* first = token.data();
        const char* last = token.data() + token.size();
        if (*first == '+')
            ++first;
        double parsed = 0.0;
        const auto result = std::from_chars(first, last, parsed, std::chars_format::general);
        if (result.ec == std::errc() && result.ptr == last) {
            value = parsed;
            length = token.size();
            return true;
        }
        // Out of range: the C library's overflow and underflow rules apply.
    }
    return ReadWithScanf(token, value, length);
}

bool ReadNumberPrefix(std::string_view token, double& value, std::size_t& length)
{
    if (ReadShortDecimal(token, value)) {
        length = token.size();
        return true;
    }
    return ReadOtherNumberPrefix(token, value, length);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

void AppendFormatV(std::string& out, const char* format, va_list args)
{
    char buffer[256];
    va_list copy;
    va_copy(copy, args);
    const int length = FormatInCLocale(buffer, sizeof buffer, format, copy);
    va_end(copy);
    if (length < 0)
        return;
    if (static_cast<std::size_t>(length) < sizeof buffer) {
        out.append(buffer, static_cast<std::size_t>(length));
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(length) + 1);
    FormatInCLocale(out.data() + start, static_cast<std::size_t>(length) + 1, format, args);
    out.resize(start + static_cast<std::size_t>(length));
}

} // namespace

bool ReadShortDecimal(std::string_view token, double& value)
{
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = token.data();
    const char* const end = p + token.size();
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+'))
        ++p;
    std::uint64_t integer = 0;
    int digits = 0, decimals = 0;
    for (; p != end && IsDigit(*p) && digits < 19; ++p, ++digits)
        integer = integer * 10 + static_cast<std::uint64_t>(*p - '0');
    if (p != end && *p == '.') {
        for (++p; p != end && IsDigit(*p) && digits < 19; ++p, ++digits, ++decimals)
            integer = integer * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    if (p != end || digits == 0 || integer > (std::uint64_t{1} << 53) || decimals > 22)
        return false;
    const double magnitude = static_cast<double>(integer) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

std::size_t DecimalPrefixLength(std::string_view t)
{
    const std::size_t n = t.size();
    std::size_t i = 0;
    if (i < n && (t[i] == '+' || t[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(t[i])) {
        ++i;
        ++digits;
    }
    if (i < n && t[i] == '.') {
        ++i;
        while (i < n && IsDigit(t[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (t[j] == '+' || t[j] == '-'))
            ++j;
        if (j < n && IsDigit(t[j])) {
            while (j < n && IsDigit(t[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

bool ReadNumber(std::string_view token, double& value)
{
    std::size_t length = 0;
    return ReadNumberPrefix(token, value, length);
}

bool ReadFiniteNumber(std::string_view token, double& value)
{
    if (ReadShortDecimal(token, value))
        return true; // finite, and wholly the token
    double parsed = 0.0;
    std::size_t length = 0;
    if (!ReadOtherNumberPrefix(token, parsed, length) || !std::isfinite(parsed))
        return false;
    if (length < token.size() && (token[length] == ',' || token[length] == '.'))
        return false;
    value = parsed;
    return true;
}

bool ReadWholeNumber(std::string_view text, double& value)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return false;
    const std::string terminated(text); // an embedded NUL stops the scan and is refused below
    double parsed = 0.0;
    int consumed = 0;
    if (!ScanNumberInCLocale(terminated.c_str(), parsed, consumed))
        return false;
    if (static_cast<std::size_t>(consumed) != terminated.size())
        return false;
    value = parsed;
    return true;
}

void AppendFormat(std::string& out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
}

std::string Format(const char* format, ...)
{
    std::string out;
    va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
    return out;
}

void AppendFixed(std::string& out, int width, int decimals, double value)
{
    const std::size_t start = out.size();
    AppendFormat(out, "%*.*f", width, decimals, value);
    // Only blanks, a minus sign, zeros and the point: a negative value that
    // rounds to zero (not "-nan" or "-inf", which hold letters).
    const std::string_view text = std::string_view(out).substr(start);
    if (text.find('-') != std::string_view::npos && text.find_first_not_of(" -0.") == std::string_view::npos) {
        out.resize(start);
        AppendFormat(out, "%*.*f", width, decimals, 0.0);
    }
}

void AppendShortest(std::string& out, double value)
{
    if (std::isnan(value)) {
        out += "nan"; // never "-nan": the sign of a NaN means nothing
        return;
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value == 0.0 ? 0.0 : value).ptr;
    out.append(text, end);
}

} // namespace textio
