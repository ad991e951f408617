#include "views/DepthChange.h"

#include "survey/KestrixDoc.h"

#include <algorithm>
#include <bit>
#include <cmath>

using namespace survey;

namespace {

std::uint64_t DepthBits(const CKestrixDoc& doc, int index) { return std::bit_cast<std::uint64_t>(doc.m_pObs[index].Depth); }

// As the deleted readings count readings at a depth: NaN is one depth.
bool SameDepth(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

} // namespace

std::size_t CommonDeletions(std::span<const DeletedReading> a, std::span<const DeletedReading> b)
{
    std::size_t common = 0;
    while (common < a.size() && common < b.size()
           && std::bit_cast<std::uint64_t>(a[common].depth) == std::bit_cast<std::uint64_t>(b[common].depth)
           && a[common].occurrence == b[common].occurrence)
        ++common;
    return common;
}

std::optional<DepthChange> ScanDepthChange(const CKestrixDoc& doc, std::span<const std::uint64_t> before)
{
    const auto oldCount = static_cast<int>(before.size());
    const int newCount = std::max(doc.m_nObs, 0);
    const int common = std::min(oldCount, newCount);
    DepthChange change;
    while (change.prefix < common && DepthBits(doc, change.prefix) == before[static_cast<std::size_t>(change.prefix)])
        ++change.prefix;
    if (change.prefix == oldCount && oldCount == newCount)
        return std::nullopt;
    while (change.suffix < common - change.prefix
           && DepthBits(doc, newCount - 1 - change.suffix)
                  == before[static_cast<std::size_t>(oldCount - 1 - change.suffix)])
        ++change.suffix;
    return change;
}

// A deleted reading is named by its depth and its place among the readings
// at that depth in the table it was deleted from. A restored one goes back
// where it stood, which its name alone does not tell where readings of other
// depths lie between those of its own.
std::optional<DepthChange> OneReadingDeletedOrRestored(const CKestrixDoc& doc, std::span<const std::uint64_t> before,
                                                       std::span<const DeletedReading> deletedBefore, int lastDeletedAt)
{
    const std::span<const DeletedReading> now(doc.m_DeletedReadings);
    const auto oldCount = static_cast<int>(before.size());
    const int newCount = std::max(doc.m_nObs, 0);
    auto agrees = [&](int newIndex, int oldIndex) {
        return newIndex < 0 || newIndex >= newCount || oldIndex < 0 || oldIndex >= oldCount
               || DepthBits(doc, newIndex) == before[static_cast<std::size_t>(oldIndex)];
    };
    if (newCount == oldCount + 1 && now.size() + 1 == deletedBefore.size()
        && CommonDeletions(now, deletedBefore) == now.size()) {
        const int at = lastDeletedAt;
        if (at < 0 || at > oldCount
            || DepthBits(doc, at) != std::bit_cast<std::uint64_t>(deletedBefore.back().depth)
            || !agrees(at - 1, at - 1) || !agrees(at + 1, at))
            return std::nullopt;
        return DepthChange{at, oldCount - at};
    }
    if (newCount != oldCount - 1 || now.size() != deletedBefore.size() + 1
        || CommonDeletions(now, deletedBefore) != deletedBefore.size())
        return std::nullopt;
    const DeletedReading named = now.back();
    int seen = 0;
    for (int at = 0; at < oldCount; ++at) {
        if (SameDepth(std::bit_cast<double>(before[static_cast<std::size_t>(at)]), named.depth)
            && ++seen == named.occurrence) {
            if (!agrees(at - 1, at - 1) || !agrees(at, at + 1))
                return std::nullopt;
            return DepthChange{at, oldCount - at - 1};
        }
    }
    return std::nullopt;
}
