#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

// Plot units: 32-bit logical coordinates (depth or value x m_dScale).

// `value` truncated toward zero into a 32-bit plot unit; values beyond the
// int32 range (infinities included) give the nearest limit, NaN gives 0.
inline std::int32_t ToPlotUnits(double value)
{
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value))
        return 0;
    return value <= low ? std::numeric_limits<std::int32_t>::min()
           : value >= high ? std::numeric_limits<std::int32_t>::max()
                           : static_cast<std::int32_t>(value);
}

// `value` limited to the int32 range.
inline std::int32_t SaturateToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

// One axis of a PlotMapping, logical to device, as LPtoDP maps it: by one
// multiply-add, and by the exact division only where a coordinate lands
// within a hair of half a pixel or far outside any window. For the loops
// that map every reading.
class AxisMap {
public:
    AxisMap(std::int64_t windowOrigin, std::int64_t windowExtent, std::int64_t viewportOrigin,
            std::int64_t viewportExtent);

    std::int32_t operator()(std::int32_t logical) const
    {
        const double t = static_cast<double>(logical - m_windowOrigin) * m_factor;
        // Below kFastLimit the product is off by far less than kHalfGuard.
        if (std::abs(t) < kFastLimit) {
            const auto whole = static_cast<std::int64_t>(t + (t < 0 ? -0.5 : 0.5));
            if (std::abs(std::abs(t - static_cast<double>(whole)) - 0.5) > kHalfGuard)
                return SaturateToInt32(m_viewportOrigin + whole);
        }
        return Exact(logical);
    }

private:
    static constexpr double kFastLimit = 1.0e9;
    static constexpr double kHalfGuard = 1.0e-6;
    std::int32_t Exact(std::int32_t logical) const;

    std::int64_t m_windowOrigin;
    std::int64_t m_windowExtent;
    std::int64_t m_viewportOrigin;
    std::int64_t m_viewportExtent;
    double m_factor; // viewport extent / window extent; 0 for an empty window
};

// The linear logical-to-device mapping of a depth plot: a window (logical
// origin and extent) shown in a viewport (device origin and extent), as an
// anisotropic mapping mode does it. Painting and the mouse handlers share one
// mapping, so what is drawn at a pixel is what is picked there.
class PlotMapping {
public:
    struct Point {
        std::int32_t x;
        std::int32_t y;
        friend bool operator==(const Point&, const Point&) = default;
    };

    // Logical origin and extent. An extent is the difference of two int32
    // coordinates, so it may exceed the int32 range; a zero extent maps every
    // logical coordinate on that axis to the viewport origin.
    void SetWindow(std::int32_t originX, std::int32_t originY, std::int64_t extentX, std::int64_t extentY);
    // Device origin and extent in pixels; an extent may be negative (y grows
    // downward on the device) or zero (every device coordinate on that axis
    // maps back to the window origin).
    void SetViewport(std::int32_t originX, std::int32_t originY, std::int32_t extentX, std::int32_t extentY);

    // Logical point to device pixel, to the nearest pixel (halves away from
    // zero), saturating at the int32 limits.
    Point LPtoDP(Point logical) const;
    // Device pixel to logical point, to the nearest unit, saturating likewise.
    Point DPtoLP(Point device) const;

    // Logical point to device coordinates not rounded to a pixel (LPtoDP
    // rounds them), within the int32 range: for pictures that keep them.
    struct PointF {
        double x;
        double y;
    };
    PointF LPtoDPExact(Point logical) const;

    // The two axes of LPtoDP, each on its own.
    AxisMap XAxis() const { return {m_windowOriginX, m_windowExtentX, m_viewportOriginX, m_viewportExtentX}; }
    AxisMap YAxis() const { return {m_windowOriginY, m_windowExtentY, m_viewportOriginY, m_viewportExtentY}; }

    friend bool operator==(const PlotMapping&, const PlotMapping&) = default;

private:
    std::int64_t m_windowOriginX = 0;
    std::int64_t m_windowOriginY = 0;
    std::int64_t m_windowExtentX = 1;
    std::int64_t m_windowExtentY = 1;
    std::int64_t m_viewportOriginX = 0;
    std::int64_t m_viewportOriginY = 0;
    std::int64_t m_viewportExtentX = 1;
    std::int64_t m_viewportExtentY = 1;
};
