#pragma once

#include "views/DepthWindow.h"

#include <cstdint>
#include <cstdlib>

// Searches of a survey's readings by depth, in logarithmic time. The readings
// are in depth order, deepening or shallowing; `depthAt(i)` gives reading
// i's depth in plot units. A table out of order gives some readings near the
// depth, never an index outside the table.

// Readings first to end - 1.
struct ReadingRange {
    std::int32_t first = 0;
    std::int32_t end = 0;
    bool IsEmpty() const { return end <= first; }
};

namespace reading_search {

// The first index in [0, count) at which `before(i)` is false, given that it
// is true for a leading run of the indices.
template <class Before>
std::int32_t FirstNotBefore(std::int32_t count, Before before)
{
    std::int32_t low = 0;
    std::int32_t high = count;
    while (low < high) {
        const std::int32_t mid = low + (high - low) / 2;
        if (before(mid))
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

} // namespace reading_search

// The readings whose depth lies within `span`, ends included.
template <class DepthAt>
ReadingRange ReadingsWithin(std::int32_t count, DepthAt depthAt, DepthSpan span)
{
    if (count <= 0)
        return {};
    using reading_search::FirstNotBefore;
    if (depthAt(0) <= depthAt(count - 1)) {
        return {FirstNotBefore(count, [&](std::int32_t i) { return depthAt(i) < span.from; }),
                FirstNotBefore(count, [&](std::int32_t i) { return depthAt(i) <= span.to; })};
    }
    return {FirstNotBefore(count, [&](std::int32_t i) { return depthAt(i) > span.to; }),
            FirstNotBefore(count, [&](std::int32_t i) { return depthAt(i) >= span.from; })};
}

// The reading whose depth lies nearest `x` (of two as near, the first), or
// -1 without readings.
template <class DepthAt>
std::int32_t NearestReading(std::int32_t count, DepthAt depthAt, std::int32_t x)
{
    if (count <= 0)
        return -1;
    const bool deepening = depthAt(0) <= depthAt(count - 1);
    const std::int32_t after = reading_search::FirstNotBefore(
        count, [&](std::int32_t i) { return deepening ? depthAt(i) < x : depthAt(i) > x; });
    const auto distance = [&](std::int32_t i) { return std::llabs(std::int64_t{depthAt(i)} - x); };
    if (after == count)
        return count - 1;
    if (after == 0 || distance(after) < distance(after - 1))
        return after;
    // Of equal depths, the first.
    const std::int32_t before = after - 1;
    const std::int32_t depth = depthAt(before);
    return reading_search::FirstNotBefore(before + 1, [&](std::int32_t i) {
        return deepening ? depthAt(i) < depth : depthAt(i) > depth;
    });
}
