#include "views/DepthWindow.h"

#include <algorithm>
#include <cmath>

DepthSpan DepthWindow::Shown(DepthSpan whole) const
{
    if (!m_zoomed || m_span.Length() >= whole.Length())
        return whole;
    const std::int64_t length = m_span.Length();
    const std::int64_t from = std::clamp<std::int64_t>(m_span.from, whole.from, whole.to - length);
    return {static_cast<std::int32_t>(from), static_cast<std::int32_t>(from + length)};
}

// A window of `length` starting at `from`, kept inside the hole; as long as
// the hole or longer, the whole hole.
void DepthWindow::Place(DepthSpan whole, std::int64_t from, std::int64_t length)
{
    if (length >= whole.Length()) {
        m_zoomed = false;
        return;
    }
    from = std::clamp<std::int64_t>(from, whole.from, whole.to - length);
    m_span = {static_cast<std::int32_t>(from), static_cast<std::int32_t>(from + length)};
    m_zoomed = true;
}

void DepthWindow::Zoom(DepthSpan whole, double fraction, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor) || whole.Length() <= kMinimumLength)
        return;
    fraction = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.5;
    const DepthSpan shown = Shown(whole);
    const double length = static_cast<double>(shown.Length());
    const double wanted = std::round(length / factor);
    const std::int64_t newLength = wanted >= static_cast<double>(whole.Length())
                                       ? whole.Length()
                                       : std::max(kMinimumLength, static_cast<std::int64_t>(wanted));
    const double anchor = shown.from + fraction * length;
    Place(whole, std::llround(anchor - fraction * static_cast<double>(newLength)), newLength);
}

void DepthWindow::Pan(DepthSpan whole, DepthSpan start, std::int64_t shift)
{
    if (start.Length() >= whole.Length())
        return; // the whole hole has nowhere to go
    Place(whole, std::int64_t{start.from} + shift, start.Length());
}

void DepthWindow::Reveal(DepthSpan whole, std::int32_t x)
{
    const DepthSpan shown = Shown(whole);
    if (IsWhole() || (x >= shown.from && x <= shown.to))
        return;
    Place(whole, std::int64_t{x} - shown.Length() / 2, shown.Length());
}

void DepthWindow::Centre(DepthSpan whole, std::int32_t x)
{
    if (IsWhole())
        return;
    const DepthSpan shown = Shown(whole);
    Place(whole, std::int64_t{x} - shown.Length() / 2, shown.Length());
}

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The smallest of 1, 2, 5, 10, 20, 50, ... that is not below `minimum`.
std::int64_t RoundStep(double minimum)
{
    constexpr std::int64_t kLargest = std::int64_t{1} << 40; // beyond any hole in plot units
    std::int64_t decade = 1;
    while (decade < kLargest) {
        for (std::int64_t multiple : {1, 2, 5}) {
            if (static_cast<double>(decade * multiple) >= minimum)
                return decade * multiple;
        }
        decade *= 10;
    }
    return kLargest;
}

} // namespace

std::vector<std::int64_t> RoundDepths(DepthSpan shown, int widthPx, int labelPx, int gapPx)
{
    std::vector<std::int64_t> depths;
    if (shown.Length() <= 0 || widthPx <= 0)
        return depths;
    // Label centres this far apart keep the gap between neighbours, and
    // from the ends keep it from the end labels, however wide those are.
    const double spacingPx = std::max(1, labelPx + gapPx);
    const double unitsPerPx = static_cast<double>(shown.Length()) / widthPx;
    const std::int64_t step = RoundStep(spacingPx * unitsPerPx);
    for (std::int64_t d = (FloorDiv(shown.from, step) + 1) * step; d < shown.to; d += step) {
        if ((d - shown.from) / unitsPerPx >= spacingPx && (shown.to - d) / unitsPerPx >= spacingPx)
            depths.push_back(d);
    }
    return depths;
}
