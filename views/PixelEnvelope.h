#pragma once

#include "views/ReadingSearch.h"
#include "views/SideBySide.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

// Below this many readings a curve is not worth a second thread.
inline constexpr std::int32_t kBuildInTwoFrom = 50000;

// The level of a reading that is not drawn.
inline constexpr std::int32_t kNoLevel = std::numeric_limits<std::int32_t>::min();

// What a reading without a level does to a curve: it ends the piece before
// it, or it is passed over and the curve joins the readings either side.
enum class Gaps { Break, Join };

// A curve through many readings as a device can show it. Readings that
// follow one another in one pixel column (of the depth axis) form a run,
// reduced to the first, the lowest, the highest and the last of them, in the
// order they came: a polyline through those covers the pixels that a
// polyline through every one of them covers, so no spike is lost between
// pixels and a picture costs the columns, not the readings. The runs are
// kept with the readings they stand for, so that readings taken out or put
// back cost the runs they touch (FollowSplice), not the curve.
class PixelEnvelope {
public:
    // A column (device pixels along the depth axis) and a level (any unit
    // that orders the values as the device does, such as logical y).
    struct Point {
        std::int32_t column;
        std::int32_t level;
        friend bool operator==(const Point&, const Point&) = default;
    };
    using Piece = std::vector<Point>;
    // Readings [begin, end) in one column, the first and last of them drawn,
    // shown by `count` levels in order; a piece ends before the run when a
    // reading between it and the run before is not drawn (Gaps::Break).
    struct Run {
        std::int32_t column;
        std::int32_t begin;
        std::int32_t end;
        std::int32_t levels[4];
        std::int32_t count;
        bool breaksBefore;
        friend bool operator==(const Run&, const Run&) = default;
    };

    // Starts the curve anew at reading `begin`.
    void Start(std::int32_t begin, Gaps gaps);
    // Readings begin, begin + 1, ... in `column`, at `levels` (kNoLevel for
    // one not drawn); they follow the readings added before.
    void AddColumn(std::int32_t column, std::int32_t begin, std::span<const std::int32_t> levels);
    // Closes the curve after reading `end` - 1.
    void Finish(std::int32_t end);
    // Carries the curve on with `later`, closed, which started where this
    // one finished and in a column of its own.
    void Append(const PixelEnvelope& later);

    std::span<const Run> Runs() const { return m_runs; }
    // The curve's pieces in order, each of one point or more.
    std::vector<Piece> Pieces() const;

    // Follows readings `indices` (ascending, in the larger table) taken out,
    // or put back when `restored`, of readings that were [0, end of the
    // curve) and are [0, `count`): `reduce(envelope, begin, end)` adds
    // readings [begin, end) of the new table to a started envelope. Only
    // the runs about the readings are reduced again. False, with the curve
    // as it was, when the splice does not fit it.
    template <class Reduce>
    bool FollowSplice(std::span<const std::int32_t> indices, bool restored, std::int32_t count, Reduce reduce);

private:
    // The readings of the open run by their place after its first one.
    struct Seen {
        std::int32_t place;
        std::int32_t level;
    };
    void AddOne(std::int32_t column, std::int32_t index, std::int32_t level);
    void CloseRun();
    void AddWholeRun(std::int32_t column, std::int32_t begin, std::span<const std::int32_t> levels, std::int32_t low,
                     std::int32_t high);
    // Where FollowSplice reduces again: old runs [first, last) and the old
    // and new readings between the runs either side of them.
    struct Region {
        std::size_t first;
        std::size_t last;
        std::int32_t oldBegin, oldEnd, newBegin, newEnd;
    };
    Region RegionOf(std::span<const std::int32_t> indices, bool restored, std::int32_t count, std::size_t first,
                    std::size_t last) const;
    // Whether `fresh` (reduced over `region`) joins the kept run before or after it.
    bool JoinsBefore(const Region& region, const PixelEnvelope& fresh) const;
    bool JoinsAfter(const Region& region, const PixelEnvelope& fresh) const;
    void Replace(const Region& region, const PixelEnvelope& fresh, std::int32_t count);

    std::vector<Run> m_runs;
    Gaps m_gaps = Gaps::Break;
    std::int32_t m_begin = 0; // the readings the curve went through
    std::int32_t m_end = 0;
    // While adding: the open run, and whether a reading not drawn came since the last run.
    bool m_inRun = false;
    bool m_gapSinceRun = false;
    std::int32_t m_column = 0;
    std::int32_t m_runBegin = 0;
    std::int32_t m_runLast = 0;
    Seen m_first{}, m_low{}, m_high{}, m_last{};
};

// Reduces readings [begin, end) of several curves, one envelope each, which
// must have been started: `columnOf(i)` is reading i's column and
// `levelOf(i, k)` its level on curve k, or kNoLevel. When `ordered` says
// that columns never decrease along the range, each column's readings are
// found by a galloping search, so a column costs a few calls of `columnOf`
// however many readings it holds; otherwise each reading's column is asked
// for. `scratch` holds a column's levels of every curve.
template <typename ColumnOf, typename LevelOf>
void AddReadings(std::span<PixelEnvelope> envelopes, std::int32_t begin, std::int32_t end, bool ordered,
                 ColumnOf columnOf, LevelOf levelOf, std::vector<std::int32_t>& scratch)
{
    const auto curves = static_cast<int>(envelopes.size());
    std::int32_t i = begin;
    while (i < end) {
        const std::int32_t column = columnOf(i);
        std::int32_t runEnd = i + 1;
        if (ordered) {
            // Double the step while still in the column, then search the last step.
            std::int64_t step = 1;
            std::int32_t inside = i;
            while (inside + step < end && columnOf(static_cast<std::int32_t>(inside + step)) == column) {
                inside = static_cast<std::int32_t>(inside + step);
                step *= 2;
            }
            const auto limit = static_cast<std::int32_t>(std::min<std::int64_t>(inside + step, end));
            runEnd = FirstIndexWhere(inside + 1, limit, [&](std::int32_t k) { return columnOf(k) != column; });
        } else {
            while (runEnd < end && columnOf(runEnd) == column)
                ++runEnd;
        }
        // The column's levels curve by curve, each reading's samples read once.
        const auto n = static_cast<std::size_t>(runEnd - i);
        const std::size_t all = n * static_cast<std::size_t>(curves);
        if (scratch.size() < all)
            scratch.resize(all);
        std::int32_t* const levels = scratch.data();
        for (std::size_t j = 0; j < n; ++j) {
            for (int k = 0; k < curves; ++k)
                levels[static_cast<std::size_t>(k) * n + j] = levelOf(i + static_cast<std::int32_t>(j), k);
        }
        for (int k = 0; k < curves; ++k) {
            envelopes[static_cast<std::size_t>(k)].AddColumn(
                column, i, std::span<const std::int32_t>(levels + static_cast<std::size_t>(k) * n, n));
        }
        i = runEnd;
    }
}

// Reduces readings [begin, end) into `envelopes` afresh. Many readings in
// order are reduced in two parts side by side, split where a column begins
// so that no run straddles the seam: the pass waits on memory, and each core
// brings in its own part. `columnOf` and `levelOf` must then be safe to call
// from two threads at once.
template <typename ColumnOf, typename LevelOf>
void BuildEnvelopes(std::span<PixelEnvelope> envelopes, std::int32_t begin, std::int32_t end, bool ordered,
                    ColumnOf columnOf, LevelOf levelOf, Gaps gaps)
{
    const auto build = [&](std::span<PixelEnvelope> into, std::int32_t from, std::int32_t to) {
        std::vector<std::int32_t> scratch;
        for (PixelEnvelope& envelope : into)
            envelope.Start(from, gaps);
        AddReadings(into, from, to, ordered, columnOf, levelOf, scratch);
        for (PixelEnvelope& envelope : into)
            envelope.Finish(to);
    };
    std::int32_t seam = end;
    if (ordered && end - begin >= kBuildInTwoFrom) {
        const std::int32_t middle = begin + (end - begin) / 2;
        const std::int32_t column = columnOf(middle);
        seam = FirstIndexWhere(begin, middle, [&](std::int32_t i) { return columnOf(i) >= column; });
    }
    if (seam <= begin || seam >= end) {
        build(envelopes, begin, end);
        return;
    }
    std::vector<PixelEnvelope> later(envelopes.size());
    RunSideBySide([&] { build(envelopes, begin, seam); }, [&] { build(later, seam, end); });
    for (std::size_t k = 0; k < envelopes.size(); ++k)
        envelopes[k].Append(later[k]);
}

template <class Reduce>
bool PixelEnvelope::FollowSplice(std::span<const std::int32_t> indices, bool restored, std::int32_t count,
                                 Reduce reduce)
{
    const auto spliced = static_cast<std::int64_t>(indices.size());
    if (m_begin != 0 || indices.empty() || m_end + (restored ? spliced : -spliced) != count)
        return false;
    const std::int32_t larger = restored ? count : m_end;
    for (std::size_t k = 0; k < indices.size(); ++k) {
        if (indices[k] < 0 || indices[k] >= larger || (k > 0 && indices[k] <= indices[k - 1]))
            return false;
    }
    // The runs that hold or border the readings, in the old table: a reading
    // put back at new index i lies before old reading i - (those before it).
    const auto firstEndingAfter = [&](std::int32_t at) {
        return static_cast<std::size_t>(
            std::partition_point(m_runs.begin(), m_runs.end(), [&](const Run& run) { return run.end <= at; })
            - m_runs.begin());
    };
    const auto firstBeginningAfter = [&](std::int32_t at, bool orAt) {
        return static_cast<std::size_t>(std::partition_point(m_runs.begin(), m_runs.end(),
                                                             [&](const Run& run) {
                                                                 return orAt ? run.begin < at : run.begin <= at;
                                                             })
                                        - m_runs.begin());
    };
    const std::int32_t firstAt = indices.front();
    const std::int32_t lastAt = restored ? indices.back() - static_cast<std::int32_t>(spliced - 1) : indices.back();
    std::size_t first = firstEndingAfter(firstAt);
    std::size_t last = std::max(first, firstBeginningAfter(lastAt, restored));
    // A run reduced again may join the kept run next to it: the region then grows by that run.
    for (;;) {
        const Region region = RegionOf(indices, restored, count, first, last);
        PixelEnvelope fresh;
        fresh.Start(region.newBegin, m_gaps);
        reduce(fresh, region.newBegin, region.newEnd);
        fresh.Finish(region.newEnd);
        const bool before = JoinsBefore(region, fresh);
        const bool after = JoinsAfter(region, fresh);
        if (!before && !after) {
            Replace(region, fresh, count);
            return true;
        }
        first -= before ? 1 : 0;
        last += after ? 1 : 0;
    }
}
