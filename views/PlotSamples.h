#pragma once

#include "survey/Observation.h"

#include <cstddef>
#include <cstdint>
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
    int m_curves = 0;
    std::vector<std::int32_t> m_depths;
    std::vector<double> m_values; // reading by reading, m_curves each
    bool m_inDepthOrder = true;
};
