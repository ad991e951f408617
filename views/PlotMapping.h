#pragma once

#include <cstdint>

// Plot units: 32-bit logical coordinates (depth or value x m_dScale).

// `value` truncated toward zero into a 32-bit plot unit; values beyond the
// int32 range (infinities included) give the nearest limit, NaN gives 0.
std::int32_t ToPlotUnits(double value);

// `value` limited to the int32 range.
std::int32_t SaturateToInt32(std::int64_t value);

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
