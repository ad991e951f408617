#pragma once

#include "views/ReadingSearch.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A curve through many readings as a device can show it. Readings that
// follow one another in one pixel column (of the depth axis) are reduced to
// the first, the lowest, the highest and the last of them, in the order they
// came: a polyline through those covers the pixels that a polyline through
// every one of them covers, so no spike is lost between pixels and a
// picture costs the columns, not the readings.
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

    // The next reading of the curve: `level` in `column`, or none, a reading
    // not drawn, which ends the piece before it.
    void Add(std::int32_t column, std::optional<std::int32_t> level)
    {
        if (!level) {
            CloseRunAndPiece();
            return;
        }
        if (m_inRun && column != m_column)
            CloseRun();
        const Seen seen{m_count++, *level};
        if (!m_inRun) {
            m_inRun = true;
            m_column = column;
            m_first = m_low = m_high = seen;
        } else if (seen.level < m_low.level) {
            m_low = seen;
        } else if (seen.level > m_high.level) {
            m_high = seen;
        }
        m_last = seen;
    }
    // The curve's pieces in order, each of one point or more; the builder
    // is empty afterwards.
    std::vector<Piece> TakePieces();

private:
    void CloseRun();
    void CloseRunAndPiece();

    // The readings of the open run, all in m_column, by their place in it.
    struct Seen {
        std::int64_t place;
        std::int32_t level;
    };
    bool m_inRun = false;
    std::int32_t m_column = 0;
    std::int64_t m_count = 0;
    Seen m_first{}, m_low{}, m_high{}, m_last{};
    Piece m_piece;
    std::vector<Piece> m_pieces;
};

// What a reading without a level does to a curve: it ends the piece before
// it, or it is passed over and the curve joins the readings either side.
enum class Gaps { Break, Join };

// Adds readings [begin, end) of several curves in one pass, one envelope
// each: `columnOf(i)` is reading i's column and `levelOf(i, k)` its level on
// curve k or none, which `gaps` deals with. When `ordered` says that columns
// never decrease along the range, each column's readings are found by a
// galloping search, so a column costs a few calls of `columnOf` however many
// readings it holds; otherwise each reading's column is asked for.
template <typename ColumnOf, typename LevelOf>
void AddReadings(std::span<PixelEnvelope> envelopes, std::int32_t begin, std::int32_t end, bool ordered,
                 ColumnOf columnOf, LevelOf levelOf, Gaps gaps = Gaps::Break)
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
        }
        for (; i < runEnd; ++i) {
            for (int k = 0; k < curves; ++k) {
                const std::optional<std::int32_t> level = levelOf(i, k);
                if (level || gaps == Gaps::Break)
                    envelopes[static_cast<std::size_t>(k)].Add(column, level);
            }
        }
    }
}
