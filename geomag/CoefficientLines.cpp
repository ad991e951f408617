#include "geomag/CoefficientLines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

namespace geomag {

std::string FaultText(const ReadFault& fault)
{
    return fault.line > 0 ? "line " + std::to_string(fault.line) + ": " + fault.reason : fault.reason;
}

namespace coefficients {

namespace {

std::vector<std::string_view> Split(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r", i);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
        fields.push_back(line.substr(start, end - start));
        i = end;
    }
    return fields;
}

bool ReadInt(std::string_view field, int& value)
{
    const char* end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// A finite number in the C locale's form, whatever the user's locale.
bool ReadDouble(std::string_view field, double& value)
{
    const char* end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

} // namespace

bool Lines::Next(std::vector<std::string_view>& fields)
{
    while (!Failed()) {
        line_.clear();
        bool any = false, tooLong = false;
        char c = 0;
        while (in_.get(c) && c != '\n') {
            any = true;
            // Room for a CR after the longest line; what goes beyond is not kept.
            if (line_.size() <= kMaxLine)
                line_.push_back(c);
            else
                tooLong = true;
        }
        if (!any && c != '\n')
            return false; // the end of the input
        ++number_;
        if (!line_.empty() && line_.back() == '\r')
            line_.pop_back();
        if (tooLong || line_.size() > kMaxLine)
            return Fail("the line is longer than " + std::to_string(kMaxLine) + " characters");
        fields = Split(line_);
        if (!fields.empty())
            return true;
    }
    return false;
}

bool Lines::Fail(std::string reason, bool wholeFile)
{
    fault_ = {wholeFile ? 0 : number_, std::move(reason)};
    return false;
}

bool Lines::Coefficient(std::string_view field, double& value)
{
    if (!ReadDouble(field, value))
        return Fail("'" + std::string(field) + "' is not a number");
    if (std::fabs(value) > kMaxCoefficient)
        return Fail("'" + std::string(field) + "' is beyond the largest coefficient, 1e6 nT");
    return true;
}

bool Lines::Epoch(std::string_view field, double& year)
{
    if (!ReadDouble(field, year) || year < 1000 || year > 3000)
        return Fail("'" + std::string(field) + "' is not an epoch, a year from 1000 to 3000");
    return true;
}

bool Lines::Term(std::string_view degree, std::string_view order, int& n, int& m)
{
    if (!ReadInt(degree, n) || n < 1 || n > kMaxDegree)
        return Fail("the degree '" + std::string(degree) + "' is not a whole number from 1 to "
                    + std::to_string(kMaxDegree));
    if (!ReadInt(order, m) || m < 0 || m > n)
        return Fail("the order '" + std::string(order) + "' is not a whole number from 0 to " + std::to_string(n));
    return true;
}

bool TermsSeen::Mark(std::array<bool, kTermCount>& terms, int n, int m)
{
    degree = std::max(degree, n);
    return !std::exchange(terms[TermIndex(n, m)], true);
}

bool TermsSeen::Complete(Lines& lines) const
{
    if (degree == 0)
        return lines.Fail("the file holds no coefficients", true);
    for (int n = 1; n <= degree; ++n)
        for (int m = 0; m <= n; ++m)
            if (!g[TermIndex(n, m)] || (m > 0 && !h[TermIndex(n, m)]))
                return lines.Fail(TermText(n, m) + " is missing", true);
    return true;
}

std::string TermText(int n, int m)
{
    return "degree " + std::to_string(n) + ", order " + std::to_string(m);
}

} // namespace coefficients

} // namespace geomag
