#include "batch/ControlPointsFile.h"

#include "survey/ControlPoint.h"
#include "textio/NumberText.h"

#include <cmath>
#include <cstdint>

namespace {

bool FitsScaled(double value, double scale)
{
    const double scaled = std::round(value * scale);
    return std::isfinite(scaled) && scaled >= INT32_MIN && scaled <= INT32_MAX;
}

// One line up to LF into `line`, keeping at most kMaxControlPointLine
// characters; `cut` tells whether more were passed over. False at the end.
bool ReadBoundedLine(std::istream& in, std::string& line, bool& cut)
{
    line.clear();
    cut = false;
    std::streambuf* buffer = in.rdbuf();
    using Traits = std::istream::traits_type;
    Traits::int_type c = buffer ? buffer->sbumpc() : Traits::eof();
    if (Traits::eq_int_type(c, Traits::eof())) {
        in.setstate(std::ios::eofbit);
        return false;
    }
    for (; !Traits::eq_int_type(c, Traits::eof()) && c != '\n'; c = buffer->sbumpc()) {
        if (line.size() < kMaxControlPointLine)
            line.push_back(Traits::to_char_type(c));
        else
            cut = true;
    }
    return true;
}

} // namespace

bool ScaledControlPoint(const ControlPointEntry& entry, double scale, int& x, int& y)
{
    if (!FitsScaled(entry.depth, scale) || !FitsScaled(entry.azimuth, scale))
        return false;
    x = static_cast<int>(std::llround(entry.depth * scale));
    y = static_cast<int>(std::llround(entry.azimuth * scale));
    return true;
}

bool ReadControlPoints(std::istream& in, const std::string& name,
                       std::vector<ControlPointEntry>& points, std::string& error)
{
    std::string line;
    bool cut = false;
    for (long number = 1; ReadBoundedLine(in, line, cut); ++number) {
        if (!line.empty() && line.back() == '\r' && !cut)
            line.pop_back();
        if (!line.empty() && line[0] == '#')
            continue;
        if (!cut && line.find_first_not_of(" \t") == std::string::npos)
            continue;
        double values[2] = {0, 0};
        int count = 0;
        bool ok = !cut;
        textio::ForEachToken(line, [&](std::string_view token) {
            ok = ok && count < 2 && textio::ReadWholeNumber(token, values[count]);
            ++count;
            return ok;
        });
        const ControlPointEntry entry{values[0], values[1], number};
        int x = 0, y = 0;
        if (!ok || count != 2 || !ScaledControlPoint(entry, survey::kPlotScale, x, y)) {
            error = textio::Format("%s:%ld: expected DEPTH AZIMUTH", name.c_str(), number);
            return false;
        }
        if (points.size() == kMaxControlPointEntries) {
            error = textio::Format("%s:%ld: at most %zu control points", name.c_str(), number,
                                   kMaxControlPointEntries);
            return false;
        }
        points.push_back(entry);
    }
    if (in.bad()) {
        error = name + ": read error";
        return false;
    }
    return true;
}
