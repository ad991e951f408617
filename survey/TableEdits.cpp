#include "survey/TableEdits.h"

#include "survey/KestrixDoc.h"
#include "survey/ReadingsAtDepths.h"

#include <algorithm>

namespace survey {

std::vector<RemovedObservation> RemoveObservations(CKestrixDoc& doc, std::span<const std::int32_t> indices)
{
    const std::int32_t count = doc.m_nObs;
    std::vector<bool> taken(static_cast<std::size_t>(std::max(count, 0)));
    std::vector<std::int32_t> order;
    std::vector<double> depths;
    for (const std::int32_t index : indices) {
        if (index < 0 || index >= count || taken[static_cast<std::size_t>(index)])
            continue;
        taken[static_cast<std::size_t>(index)] = true;
        order.push_back(index);
        depths.push_back(doc.m_pObs[index].Depth);
    }
    if (order.empty())
        return {};

    // Each reading is named as it stood when its turn came, so that deleting
    // the same readings one by one on the survey as loaded finds each again.
    ReadingsAtDepths readings(doc, depths, *std::max_element(order.begin(), order.end()) + 1);
    doc.m_DeletedReadings.reserve(doc.m_DeletedReadings.size() + order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        doc.m_DeletedReadings.push_back({depths[k], readings.OccurrenceOf(depths[k], order[k])});
        readings.Remove(depths[k], order[k]);
    }

    // The readings after the first one taken move down in stretches, each
    // copied whole.
    std::sort(order.begin(), order.end());
    std::vector<RemovedObservation> removed;
    removed.reserve(order.size());
    Observation* table = doc.m_pObs.get();
    std::int32_t kept = order.front();
    for (std::size_t k = 0; k < order.size(); ++k) {
        removed.push_back({order[k], table[order[k]]});
        const std::int32_t from = order[k] + 1;
        const std::int32_t to = k + 1 < order.size() ? order[k + 1] : count;
        std::copy(table + from, table + to, table + kept);
        kept += to - from;
    }
    doc.m_nObs = kept;
    return removed;
}

void RestoreObservations(CKestrixDoc& doc, std::span<const RemovedObservation> removed)
{
    // From the back, so every kept reading moves up at most once, in stretches.
    Observation* table = doc.m_pObs.get();
    std::int32_t end = doc.m_nObs; // the kept readings not moved yet are table[0 .. end)
    for (std::size_t k = removed.size(); k-- > 0;) {
        const RemovedObservation& next = removed[k];
        const std::int32_t from = next.index - static_cast<std::int32_t>(k);
        std::copy_backward(table + from, table + end, table + end + k + 1);
        table[next.index] = next.observation;
        end = from;
    }
    doc.m_nObs += static_cast<std::int32_t>(removed.size());
}

bool RemoveControlPointAt(CKestrixDoc& doc, std::int32_t index)
{
    if (index < 0 || index >= doc.m_nControlPoints)
        return false;
    auto& points = doc.m_ControlPoints;
    std::copy(points.begin() + index + 1, points.begin() + doc.m_nControlPoints, points.begin() + index);
    --doc.m_nControlPoints;
    return true;
}

bool InsertControlPointAt(CKestrixDoc& doc, std::int32_t index, ControlPoint point)
{
    if (index < 0 || index > doc.m_nControlPoints || doc.m_nControlPoints >= CKestrixDoc::kMaxControlPoints)
        return false;
    auto& points = doc.m_ControlPoints;
    std::copy_backward(points.begin() + index, points.begin() + doc.m_nControlPoints,
                       points.begin() + doc.m_nControlPoints + 1);
    points[static_cast<std::size_t>(index)] = point;
    ++doc.m_nControlPoints;
    return true;
}

} // namespace survey
