#pragma once

#include "survey/Observation.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// What a depth plot draws of each reading, gathered in one pass over the
// survey's table: the reading's depth in plot units and the values of the
// plot's curves. Ranges, curves and picking then go through these compact
// arrays instead of the table's wide readings.
class PlotSamples {
public:
    // Gathers `count` readings from `table`: each one's depth as
    // `depthOf(depth)` gives it in plot units, and the `curves` values that
    // `valuesOf(i, reading, out)` writes to out[0] to out[curves - 1].
    template <class DepthOf, class ValuesOf>
    void Gather(const survey::Observation* table, std::int32_t count, int curves, DepthOf depthOf, ValuesOf valuesOf)
    {
        const auto readings = static_cast<std::size_t>(count > 0 ? count : 0);
        m_curves = curves > 0 ? curves : 0;
        m_depths.resize(readings);
        m_values.resize(readings * static_cast<std::size_t>(m_curves));
        m_inDepthOrder = true;
        for (std::size_t i = 0; i < readings; ++i) {
            const survey::Observation& reading = table[i];
            if (i > 0 && !(table[i - 1].Depth <= reading.Depth))
                m_inDepthOrder = false;
            m_depths[i] = depthOf(reading.Depth);
            valuesOf(static_cast<std::int32_t>(i), reading, m_values.data() + i * static_cast<std::size_t>(m_curves));
        }
    }

    // Follows readings `indices` (ascending, in the larger table) taken out of
    // `table`, now `count` readings, whose other readings' values are as
    // they were; true when done, false (nothing changed) when they do not
    // fit the samples.
    bool Remove(std::span<const std::int32_t> indices, const survey::Observation* table, std::int32_t count)
    {
        const std::size_t before = m_depths.size();
        if (count < 0 || before != static_cast<std::size_t>(count) + indices.size() || !Ascending(indices, before))
            return false;
        const auto width = static_cast<std::size_t>(m_curves);
        std::size_t kept = 0;
        for (std::size_t i = 0, k = 0; i < before; ++i) {
            if (k < indices.size() && static_cast<std::size_t>(indices[k]) == i) {
                ++k;
                continue;
            }
            m_depths[kept] = m_depths[i];
            std::copy_n(m_values.begin() + static_cast<std::ptrdiff_t>(i * width), width,
                        m_values.begin() + static_cast<std::ptrdiff_t>(kept * width));
            ++kept;
        }
        m_depths.resize(kept);
        m_values.resize(kept * width);
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
        // From the end, each kept sample moves up by the readings put back before it.
        std::size_t from = before;
        std::size_t k = indices.size();
        for (std::size_t i = now; i-- > 0;) {
            if (k > 0 && static_cast<std::size_t>(indices[k - 1]) == i) {
                --k;
                m_depths[i] = depthOf(table[i].Depth);
                valuesOf(static_cast<std::int32_t>(i), table[i], m_values.data() + i * width);
                continue;
            }
            --from;
            m_depths[i] = m_depths[from];
            std::copy_n(m_values.begin() + static_cast<std::ptrdiff_t>(from * width), width,
                        m_values.begin() + static_cast<std::ptrdiff_t>(i * width));
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
    // Whether no reading's depth lies above the one before it.
    bool InDepthOrder() const { return m_inDepthOrder; }

private:
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
};
