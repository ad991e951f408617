// The control-point file reader of kestrix-batch on arbitrary bytes: every
// point it accepts fits the azimuth plot's units.
#include "ControlPointsFile.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<ControlPointEntry> points;
    std::string error;
    if (ReadControlPoints(in, "fuzz.txt", points, error)) {
        for (const ControlPointEntry& point : points) {
            int x = 0, y = 0;
            if (!ScaledControlPoint(point, 100.0, x, y))
                std::abort();
        }
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
