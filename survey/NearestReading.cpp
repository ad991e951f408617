#include "survey/NearestReading.h"

#include "survey/KestrixDoc.h"

#include <cmath>

namespace survey {

namespace {

// The first of `count` readings, `indexOf(k)` of the table, nearest `depth`.
template <typename IndexOf>
int Nearest(const CKestrixDoc& doc, int count, IndexOf indexOf, double depth)
{
    int best = -1;
    double bestDistance = 0.0;
    for (int k = 0; k < count; ++k) {
        const int index = indexOf(k);
        if (index < 0 || index >= doc.m_nObs)
            return -1;
        const double distance = std::fabs(doc.m_pObs[index].Depth - depth);
        if (!std::isnan(distance) && (best < 0 || distance < bestDistance)) {
            best = k;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

std::optional<DepthExtent> DepthExtentOf(const CKestrixDoc& doc)
{
    std::optional<DepthExtent> extent;
    for (int i = 0; i < doc.m_nObs; ++i) {
        const double depth = doc.m_pObs[i].Depth;
        if (std::isnan(depth))
            continue;
        if (!extent)
            extent = DepthExtent{depth, depth};
        extent->shallowest = std::fmin(extent->shallowest, depth);
        extent->deepest = std::fmax(extent->deepest, depth);
    }
    return extent;
}

int NearestReading(const CKestrixDoc& doc, double depth)
{
    return Nearest(doc, doc.m_nObs, [](int k) { return k; }, depth);
}

int NearestOf(const CKestrixDoc& doc, std::span<const int> indices, double depth)
{
    return Nearest(doc, static_cast<int>(indices.size()), [&](int k) { return indices[static_cast<std::size_t>(k)]; },
                   depth);
}

} // namespace survey
