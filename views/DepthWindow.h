#pragma once

#include <cstdint>
#include <vector>

// A stretch of depth in plot units (centimetres), `from` left of `to`.
struct DepthSpan {
    std::int32_t from;
    std::int32_t to;

    std::int64_t Length() const { return std::int64_t{to} - from; }
    friend bool operator==(const DepthSpan&, const DepthSpan&) = default;
};

// The stretch of the hole that the depth plots of a survey show: the whole
// hole, or a zoomed part of it. The whole hole is passed in at every use,
// since deletions can move its ends; a zoomed window always stays inside it.
class DepthWindow {
public:
    // The narrowest window, in plot units: 10 cm of depth.
    static constexpr std::int64_t kMinimumLength = 10;

    bool IsWhole() const { return !m_zoomed; }
    // The stretch shown of a hole spanning `whole`: the zoomed window, moved
    // back inside the hole and no longer than it, or `whole` itself.
    DepthSpan Shown(DepthSpan whole) const;

    // Narrows the window by `factor` (below 1 widens it) about the depth at
    // `fraction` of its length from the left (0 to 1), which stays in place.
    // A window as long as the hole is the whole hole again.
    void Zoom(DepthSpan whole, double fraction, double factor);
    // Shows `start` (a window as shown earlier) moved `shift` units deeper,
    // stopping at either end of the hole.
    void Pan(DepthSpan whole, DepthSpan start, std::int64_t shift);
    // Brings depth `x` into a zoomed window by centring the window on it.
    void Reveal(DepthSpan whole, std::int32_t x);
    // Centres a zoomed window on depth `x`, as far as the hole's ends allow;
    // the whole hole stays whole.
    void Centre(DepthSpan whole, std::int32_t x);

    // Equal when they show the same stretch of any hole.
    friend bool operator==(const DepthWindow& a, const DepthWindow& b)
    {
        return a.m_zoomed == b.m_zoomed && (!a.m_zoomed || a.m_span == b.m_span);
    }

private:
    void Place(DepthSpan whole, std::int64_t from, std::int64_t length);

    bool m_zoomed = false;
    DepthSpan m_span{0, 0};
};

// The round depths (multiples of 1, 2 or 5 x 10^k plot units) to label under
// a frame showing `shown` over `widthPx` pixels, for labels at most
// `labelPx` pixels wide each: the finest such step at which neighbouring
// labels keep `gapPx` apart, without those that would crowd the labels of
// the two ends. Empty when no step fits.
std::vector<std::int64_t> RoundDepths(DepthSpan shown, int widthPx, int labelPx, int gapPx);
