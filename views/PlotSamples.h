#pragma once

#include "survey/Observation.h"
#include "views/SideBySide.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

// What a depth plot draws of each reading, gathered in one pass over the
// survey's table: the reading's depth in plot units and the values of the
// plot's curves. Ranges, curves and picking then go through these compact
// arrays instead of the table's wide readings.
class PlotSamples {
public:
    // What the latest gathering changed of the samples before it: their
    // number or a depth, and which curves' values (bit k for curve k).
    struct Changes {
        bool depths = true;
        std::uint32_t curves = ~std::uint32_t{0};
    };

    // Gathers `count` readings from `table`: each one's depth as
    // `depthOf(depth)` gives it in plot units, and the `curves` values that
    // `valuesOf(i, reading, out)` writes to out[0] to out[curves - 1], which
    // must be safe to call from two threads at once. A long survey is
    // gathered in two halves side by side: the pass waits on memory, and
    // each core brings in its own.
    template <class DepthOf, class ValuesOf>
    void Gather(const survey::Observation* table, std::int32_t count, int curves, DepthOf depthOf, ValuesOf valuesOf)
    {
        const auto readings = static_cast<std::size_t>(count > 0 ? count : 0);
        const int width = curves > 0 ? curves : 0;
        const bool sameShape = readings == m_depths.size() && width == m_curves;
        m_curves = width;
        m_depths.resize(readings);
        m_values.resize(readings * static_cast<std::size_t>(width));
        const auto part = [&](std::size_t from, std::size_t to) {
            return GatherPart(table, from, to, depthOf, valuesOf);
        };
        Part whole;
        if (readings < kGatherInTwoFrom) {
            whole = part(0, readings);
        } else {
            const std::size_t half = readings / 2;
            Part second;
            RunSideBySide([&] { whole = part(0, half); }, [&] { second = part(half, readings); });
            whole.inDepthOrder = whole.inDepthOrder && second.inDepthOrder;
            whole.changes.depths = whole.changes.depths || second.changes.depths;
            whole.changes.curves |= second.changes.curves;
            whole.extremes.Add(second.extremes);
        }
        m_inDepthOrder = whole.inDepthOrder;
        m_extremes = whole.extremes;
        m_extremesKnown = true;
        m_changes = sameShape ? whole.changes : Changes{};
    }
    Changes LastChanges() const { return m_changes; }

    // Follows readings `indices` (ascending, in the larger table) taken out of
    // `table`, now `count` readings, whose other readings' values are as
    // they were; true when done, false (nothing changed) when they do not
    // fit the samples.
    bool Remove(std::span<const std::int32_t> indices, const survey::Observation* table, std::int32_t count)
    {
        const std::size_t before = m_depths.size();
        if (count < 0 || before != static_cast<std::size_t>(count) + indices.size() || !Ascending(indices, before))
            return false;
        // The readings between two taken out move down as one block.
        std::size_t kept = indices.empty() ? before : static_cast<std::size_t>(indices.front());
        for (std::size_t k = 0; k < indices.size(); ++k) {
            const auto from = static_cast<std::size_t>(indices[k]) + 1;
            const std::size_t to = k + 1 < indices.size() ? static_cast<std::size_t>(indices[k + 1]) : before;
            MoveBlock(from, to, kept);
            kept += to - from;
        }
        const auto width = static_cast<std::size_t>(m_curves);
        m_depths.resize(kept);
        m_values.resize(kept * width);
        m_changes = {};
        m_extremesKnown = false;
        // Readings in depth order stay so when some go.
        if (!m_inDepthOrder)
            m_inDepthOrder = TableInDepthOrder(table, count);
        return true;
    }

    // Follows readings `indices` (ascending, in `table`, now `count`
    // readings) put back into the table, each gathered as Gather would.
    template <class DepthOf, class ValuesOf>
    bool Reopen(std::span<const std::int32_t> indices, const survey::Observation* table, std::int32_t count,
                DepthOf depthOf, ValuesOf valuesOf)
    {
        const std::size_t before = m_depths.size();
        const auto now = static_cast<std::size_t>(count > 0 ? count : 0);
        if (now != before + indices.size() || !Ascending(indices, now))
            return false;
        const auto width = static_cast<std::size_t>(m_curves);
        m_depths.resize(now);
        m_values.resize(now * width);
        m_changes = {};
        m_extremesKnown = false;
        // From the end, the readings between two put back move up as one block.
        std::size_t to = now;
        for (std::size_t k = indices.size(); k-- > 0;) {
            const auto at = static_cast<std::size_t>(indices[k]);
            const std::size_t from = at + 1;
            MoveBlock(from - (k + 1), to - (k + 1), from);
            m_depths[at] = depthOf(table[at].Depth);
            valuesOf(indices[k], table[at], m_values.data() + at * width);
            to = at;
        }
        if (m_inDepthOrder) {
            for (const std::int32_t i : indices) {
                const auto at = static_cast<std::size_t>(i);
                if ((at > 0 && !(table[at - 1].Depth <= table[at].Depth))
                    || (at + 1 < now && !(table[at].Depth <= table[at + 1].Depth)))
                    m_inDepthOrder = false;
            }
        } else {
            m_inDepthOrder = TableInDepthOrder(table, count);
        }
        return true;
    }

    std::int32_t Count() const { return static_cast<std::int32_t>(m_depths.size()); }
    int Curves() const { return m_curves; }
    // Reading `i`'s depth in plot units and its value on curve `curve`.
    std::int32_t Depth(std::int32_t i) const { return m_depths[static_cast<std::size_t>(i)]; }
    double Value(std::int32_t i, int curve) const
    {
        return m_values[static_cast<std::size_t>(i) * static_cast<std::size_t>(m_curves) + static_cast<std::size_t>(curve)];
    }
    // The least and the greatest of every curve's values; NaN is passed
    // over, and without a number the least is +inf and the greatest -inf.
    // A gathering finds them on its way; after readings taken out or put
    // back they are found again when asked for.
    std::array<double, 2> ValueExtremes() const
    {
        if (!m_extremesKnown) {
            // Four apart, so that the comparisons do not wait on one another.
            std::array<Extremes, 4> four;
            const std::size_t all = m_values.size();
            std::size_t i = 0;
            for (; i + 4 <= all; i += 4) {
                for (std::size_t k = 0; k < 4; ++k)
                    four[k].Add(m_values[i + k]);
            }
            for (; i < all; ++i)
                four[0].Add(m_values[i]);
            for (std::size_t k = 1; k < 4; ++k)
                four[0].Add(four[k]);
            m_extremes = four[0];
            m_extremesKnown = true;
        }
        return {m_extremes.low, m_extremes.high};
    }
    // Whether no reading's depth lies above the one before it.
    bool InDepthOrder() const { return m_inDepthOrder; }

private:
    // Below this many readings a gathering is not worth a second thread.
    static constexpr std::size_t kGatherInTwoFrom = 50000;
    struct Extremes {
        double low = std::numeric_limits<double>::infinity();
        double high = -std::numeric_limits<double>::infinity();
        // NaN compares false both ways and changes neither.
        void Add(double value)
        {
            low = std::min(low, value);
            high = std::max(high, value);
        }
        void Add(const Extremes& other)
        {
            low = std::min(low, other.low);
            high = std::max(high, other.high);
        }
    };
    struct Part {
        bool inDepthOrder = true;
        Changes changes{false, 0};
        Extremes extremes;
    };
    // Gathers readings [from, to), comparing each one's samples bit for bit
    // with those they replace.
    template <class DepthOf, class ValuesOf>
    Part GatherPart(const survey::Observation* table, std::size_t from, std::size_t to, DepthOf& depthOf,
                    ValuesOf& valuesOf)
    {
        const auto width = static_cast<std::size_t>(m_curves);
        std::vector<double> fresh(width);
        Part part;
        for (std::size_t i = from; i < to; ++i) {
            const survey::Observation& reading = table[i];
            if (i > 0 && !(table[i - 1].Depth <= reading.Depth))
                part.inDepthOrder = false;
            const std::int32_t depth = depthOf(reading.Depth);
            part.changes.depths |= depth != m_depths[i];
            m_depths[i] = depth;
            valuesOf(static_cast<std::int32_t>(i), reading, fresh.data());
            double* values = m_values.data() + i * width;
            for (std::size_t k = 0; k < width; ++k) {
                if (std::bit_cast<std::uint64_t>(fresh[k]) != std::bit_cast<std::uint64_t>(values[k]))
                    part.changes.curves |= k < 32 ? std::uint32_t{1} << k : ~std::uint32_t{0};
                values[k] = fresh[k];
                part.extremes.Add(fresh[k]);
            }
        }
        return part;
    }
    // Samples [from, to) to `at` onward, either way.
    void MoveBlock(std::size_t from, std::size_t to, std::size_t at)
    {
        if (from >= to || from == at)
            return;
        const auto width = static_cast<std::size_t>(m_curves);
        const auto depths = m_depths.begin();
        const auto values = m_values.begin();
        const auto d = [](std::size_t i) { return static_cast<std::ptrdiff_t>(i); };
        if (at < from) {
            std::copy(depths + d(from), depths + d(to), depths + d(at));
            std::copy(values + d(from * width), values + d(to * width), values + d(at * width));
        } else {
            std::copy_backward(depths + d(from), depths + d(to), depths + d(at + to - from));
            std::copy_backward(values + d(from * width), values + d(to * width), values + d((at + to - from) * width));
        }
    }
    static bool Ascending(std::span<const std::int32_t> indices, std::size_t size)
    {
        for (std::size_t k = 0; k < indices.size(); ++k) {
            if (indices[k] < 0 || static_cast<std::size_t>(indices[k]) >= size || (k > 0 && indices[k] <= indices[k - 1]))
                return false;
        }
        return true;
    }
    static bool TableInDepthOrder(const survey::Observation* table, std::int32_t count)
    {
        for (std::int32_t i = 1; i < count; ++i) {
            if (!(table[i - 1].Depth <= table[i].Depth))
                return false;
        }
        return true;
    }

    int m_curves = 0;
    std::vector<std::int32_t> m_depths;
    std::vector<double> m_values; // reading by reading, m_curves each
    bool m_inDepthOrder = true;
    Changes m_changes;
    mutable Extremes m_extremes;
    mutable bool m_extremesKnown = true;
};
