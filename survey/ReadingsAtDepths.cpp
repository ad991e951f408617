#include "survey/ReadingsAtDepths.h"

#include "survey/KestrixDoc.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace survey {
namespace {

// Depth order with every NaN after the numbers and equal to each other, so
// that equivalence under it is SameDepth.
bool DepthBefore(double a, double b)
{
    return std::isnan(b) ? !std::isnan(a) : a < b;
}

bool ReadingBefore(const std::pair<double, std::int32_t>& a, const std::pair<double, std::int32_t>& b)
{
    if (DepthBefore(a.first, b.first))
        return true;
    return !DepthBefore(b.first, a.first) && a.second < b.second;
}

} // namespace

bool SameDepth(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

ReadingsAtDepths::ReadingsAtDepths(const CKestrixDoc& doc, std::span<const double> depths, std::int32_t end)
{
    std::vector<double> wanted(depths.begin(), depths.end());
    std::sort(wanted.begin(), wanted.end(), DepthBefore);
    // Most depths lie outside the span of the wanted numbers and are passed
    // over with two comparisons (NaN fails both).
    const auto numbers = std::find_if(wanted.begin(), wanted.end(), [](double d) { return std::isnan(d); });
    const bool nanWanted = numbers != wanted.end();
    const double lowest = numbers != wanted.begin() ? wanted.front() : 0.0;
    const double highest = numbers != wanted.begin() ? *(numbers - 1) : -1.0;
    for (std::int32_t i = 0, last = std::min(end, doc.m_nObs); i < last; ++i) {
        const double depth = doc.m_pObs[i].Depth;
        const bool mayBeWanted = (depth >= lowest && depth <= highest) || (nanWanted && std::isnan(depth));
        if (mayBeWanted && std::binary_search(wanted.begin(), wanted.end(), depth, DepthBefore))
            m_readings.emplace_back(depth, i);
    }
    std::sort(m_readings.begin(), m_readings.end(), ReadingBefore);
    // Every reading present: node k covers the lowest set bit of k readings.
    m_tree.resize(m_readings.size() + 1);
    for (std::size_t k = 1; k < m_tree.size(); ++k)
        m_tree[k] = static_cast<std::int32_t>(k & (~k + 1));
}

std::size_t ReadingsAtDepths::PositionOf(double depth, std::int32_t index) const
{
    return static_cast<std::size_t>(
        std::lower_bound(m_readings.begin(), m_readings.end(), Reading{depth, index}, ReadingBefore)
        - m_readings.begin());
}

std::int32_t ReadingsAtDepths::PresentBefore(std::size_t position) const
{
    std::int32_t count = 0;
    for (std::size_t k = position; k > 0; k &= k - 1)
        count += m_tree[k];
    return count;
}

std::int32_t ReadingsAtDepths::Find(double depth, std::int32_t occurrence) const
{
    if (occurrence < 1)
        return -1;
    const std::size_t first = PositionOf(depth, INT32_MIN);
    // The smallest position with `wanted` present readings up to it.
    std::int32_t wanted = PresentBefore(first) + occurrence;
    std::size_t position = 0;
    for (std::size_t step = std::bit_floor(m_readings.size()); step > 0; step >>= 1) {
        if (position + step < m_tree.size() && m_tree[position + step] < wanted) {
            position += step;
            wanted -= m_tree[position];
        }
    }
    if (position >= m_readings.size() || !SameDepth(m_readings[position].first, depth))
        return -1;
    return m_readings[position].second;
}

std::size_t ReadingsAtDepths::PresentPosition(double depth, std::int32_t index) const
{
    const std::size_t position = PositionOf(depth, index);
    if (position == m_readings.size() || m_readings[position].second != index
        || !SameDepth(m_readings[position].first, depth) || PresentBefore(position + 1) == PresentBefore(position))
        return m_readings.size();
    return position;
}

std::int32_t ReadingsAtDepths::OccurrenceOf(double depth, std::int32_t index) const
{
    const std::size_t position = PresentPosition(depth, index);
    if (position == m_readings.size())
        return 0;
    return PresentBefore(position) - PresentBefore(PositionOf(depth, INT32_MIN)) + 1;
}

void ReadingsAtDepths::Remove(double depth, std::int32_t index)
{
    const std::size_t position = PresentPosition(depth, index);
    if (position == m_readings.size())
        return;
    for (std::size_t k = position + 1; k < m_tree.size(); k += k & (~k + 1))
        --m_tree[k];
}

} // namespace survey
