#pragma once

#include <cstdint>

namespace survey {

// Plot units per metre of depth and per unit of the value plotted: the
// plots, and the control points placed on them, count in hundredths.
inline constexpr double kPlotScale = 100.0;

// An azimuth control point in the azimuth plot's scaled units:
// x = depth x m_dScale, y = azimuth x m_dScale.
struct ControlPoint {
    std::int32_t x;
    std::int32_t y;
};

} // namespace survey
