#pragma once

#include <cstdint>

namespace survey {

// An azimuth control point in the azimuth plot's scaled units:
// x = depth x m_dScale, y = azimuth x m_dScale.
struct ControlPoint {
    std::int32_t x;
    std::int32_t y;
};

} // namespace survey
