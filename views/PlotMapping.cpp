#include "views/PlotMapping.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
// Extents are limited so that every product below stays exact or is caught.
constexpr std::int64_t kExtentLimit = std::int64_t{1} << 40;
constexpr double kResultLimit = 4.0e18; // well inside int64

std::uint64_t Magnitude(std::int64_t v)
{
    return v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

// a x b / c to the nearest whole number, halves away from zero; 0 when c is 0.
std::int64_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c)
{
    if (c == 0)
        return 0;
    const std::uint64_t ua = Magnitude(a);
    const std::uint64_t ub = Magnitude(b);
    if (ua != 0 && ub > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) / ua) {
        // Only far outside any window: the caller saturates to int32 anyway.
        const double q = std::round(static_cast<double>(a) * static_cast<double>(b) / static_cast<double>(c));
        return static_cast<std::int64_t>(std::clamp(q, -kResultLimit, kResultLimit));
    }
    const std::int64_t product = a * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * Magnitude(remainder) >= Magnitude(c))
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    return quotient;
}

} // namespace

AxisMap::AxisMap(std::int64_t windowOrigin, std::int64_t windowExtent, std::int64_t viewportOrigin,
                 std::int64_t viewportExtent)
    : m_windowOrigin(windowOrigin), m_windowExtent(windowExtent), m_viewportOrigin(viewportOrigin),
      m_viewportExtent(viewportExtent),
      m_factor(windowExtent == 0 ? 0.0 : static_cast<double>(viewportExtent) / static_cast<double>(windowExtent))
{
}

std::int32_t AxisMap::Exact(std::int32_t logical) const
{
    return SaturateToInt32(m_viewportOrigin + MulDivRound(logical - m_windowOrigin, m_viewportExtent, m_windowExtent));
}

void PlotMapping::SetWindow(std::int32_t originX, std::int32_t originY, std::int64_t extentX, std::int64_t extentY)
{
    m_windowOriginX = originX;
    m_windowOriginY = originY;
    m_windowExtentX = std::clamp(extentX, -kExtentLimit, kExtentLimit);
    m_windowExtentY = std::clamp(extentY, -kExtentLimit, kExtentLimit);
}

void PlotMapping::SetViewport(std::int32_t originX, std::int32_t originY, std::int32_t extentX, std::int32_t extentY)
{
    m_viewportOriginX = originX;
    m_viewportOriginY = originY;
    m_viewportExtentX = extentX;
    m_viewportExtentY = extentY;
}

PlotMapping::Point PlotMapping::LPtoDP(Point logical) const
{
    const std::int64_t x = m_viewportOriginX + MulDivRound(logical.x - m_windowOriginX, m_viewportExtentX, m_windowExtentX);
    const std::int64_t y = m_viewportOriginY + MulDivRound(logical.y - m_windowOriginY, m_viewportExtentY, m_windowExtentY);
    return {SaturateToInt32(x), SaturateToInt32(y)};
}

PlotMapping::PointF PlotMapping::LPtoDPExact(Point logical) const
{
    const auto map = [](std::int64_t value, std::int64_t windowOrigin, std::int64_t windowExtent,
                        std::int64_t viewportOrigin, std::int64_t viewportExtent) {
        if (windowExtent == 0)
            return static_cast<double>(viewportOrigin);
        const double device = static_cast<double>(viewportOrigin)
                            + static_cast<double>(value - windowOrigin) * static_cast<double>(viewportExtent)
                                  / static_cast<double>(windowExtent);
        return std::clamp(device, static_cast<double>(kInt32Min), static_cast<double>(kInt32Max));
    };
    return {map(logical.x, m_windowOriginX, m_windowExtentX, m_viewportOriginX, m_viewportExtentX),
            map(logical.y, m_windowOriginY, m_windowExtentY, m_viewportOriginY, m_viewportExtentY)};
}

PlotMapping::Point PlotMapping::DPtoLP(Point device) const
{
    const std::int64_t x = m_windowOriginX + MulDivRound(device.x - m_viewportOriginX, m_windowExtentX, m_viewportExtentX);
    const std::int64_t y = m_windowOriginY + MulDivRound(device.y - m_viewportOriginY, m_windowExtentY, m_viewportExtentY);
    return {SaturateToInt32(x), SaturateToInt32(y)};
}
