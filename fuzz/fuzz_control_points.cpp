// The control-point file reader on arbitrary bytes: it never
// accepts more than the document holds, and every point it accepts is finite
// and fits the azimuth plot's units.
#include "survey/ControlPointsFile.h"
#include "survey/ControlPoint.h"
#include "survey/LineSource.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace survey;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    survey::StringLineSource in(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<ControlPointEntry> points;
    std::string error;
    if (ReadControlPoints(in, "fuzz.txt", points, error)) {
        if (points.size() > kMaxControlPointEntries)
            std::abort();
        for (const ControlPointEntry& point : points) {
            int x = 0, y = 0;
            if (!std::isfinite(point.depth) || !std::isfinite(point.azimuth) || !ScaledControlPoint(point, survey::kPlotScale, x, y))
                std::abort();
        }
    } else if (error.rfind("fuzz.txt:", 0) != 0) {
        std::abort(); // every failure names the file (and the line)
    }
    return 0;
}
