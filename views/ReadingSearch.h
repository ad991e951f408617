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

// The first index in [begin, end) where the monotone `test` holds (false,
// then true, along the range), or `end`.
template <typename Test>
std::int32_t FirstIndexWhere(std::int32_t begin, std::int32_t end, Test test)
{
    while (begin < end) {
        const std::int32_t middle = begin + (end - begin) / 2;
        if (test(middle))
            end = middle;
        else
            begin = middle + 1;
    }
    return begin;
}

// The readings whose depth lies within `span`, ends included.
template <class DepthAt>
ReadingRange ReadingsWithin(std::int32_t count, DepthAt depthAt, DepthSpan span)
{
    if (count <= 0)
        return {};
    if (depthAt(0) <= depthAt(count - 1)) {
        return {FirstIndexWhere(0, count, [&](std::int32_t i) { return depthAt(i) >= span.from; }),
                FirstIndexWhere(0, count, [&](std::int32_t i) { return depthAt(i) > span.to; })};
    }
    return {FirstIndexWhere(0, count, [&](std::int32_t i) { return depthAt(i) <= span.to; }),
            FirstIndexWhere(0, count, [&](std::int32_t i) { return depthAt(i) < span.from; })};
}

// The reading whose depth lies nearest `x` (of two as near, the first), or
// -1 without readings.
template <class DepthAt>
std::int32_t NearestReading(std::int32_t count, DepthAt depthAt, std::int32_t x)
{
    if (count <= 0)
        return -1;
    const bool deepening = depthAt(0) <= depthAt(count - 1);
    const std::int32_t after =
        FirstIndexWhere(0, count, [&](std::int32_t i) { return deepening ? depthAt(i) >= x : depthAt(i) <= x; });
    const auto distance = [&](std::int32_t i) { return std::llabs(std::int64_t{depthAt(i)} - x); };
    if (after == count)
        return count - 1;
    if (after == 0 || distance(after) < distance(after - 1))
        return after;
    // Of equal depths, the first.
    const std::int32_t before = after - 1;
    const std::int32_t depth = depthAt(before);
    return FirstIndexWhere(0, before + 1,
                           [&](std::int32_t i) { return deepening ? depthAt(i) >= depth : depthAt(i) <= depth; });
}
