#include "ControlPointsFile.h"

#include "NumberText.h"

#include <cmath>
#include <cstdint>

namespace {

bool FitsScaled(double value, double scale)
{
    const double scaled = std::round(value * scale);
    return std::isfinite(scaled) && scaled >= INT32_MIN && scaled <= INT32_MAX;
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
    for (long number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[0] == '#')
            continue;
        double values[2] = {0, 0};
        int count = 0;
        bool ok = true;
        textio::ForEachToken(line, [&](std::string_view token) {
            ok = count < 2 && textio::ReadNumber(token, values[count]);
            ++count;
            return ok;
        });
        const ControlPointEntry entry{values[0], values[1]};
        int x = 0, y = 0;
        if (!ok || count != 2 || !ScaledControlPoint(entry, 100.0, x, y)) {
            error = textio::Format("%s:%ld: expected DEPTH AZIMUTH", name.c_str(), number);
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
