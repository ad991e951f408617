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

bool SameDeletions(std::span<const DeletedReading> a, std::span<const DeletedReading> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const DeletedReading& x, const DeletedReading& y) {
        return std::bit_cast<std::uint64_t>(x.depth) == std::bit_cast<std::uint64_t>(y.depth)
               && x.occurrence == y.occurrence;
    });
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

// A reading is named by its depth and its place among the readings at that
// depth, counted in the table it was deleted from: the table before a
// deletion, the table after a restoration.
std::optional<DepthChange> OneReadingDeletedOrRestored(const CKestrixDoc& doc, std::span<const std::uint64_t> before,
                                                       std::span<const DeletedReading> deletedBefore)
{
    const std::span<const DeletedReading> now(doc.m_DeletedReadings);
    const auto oldCount = static_cast<int>(before.size());
    const int newCount = std::max(doc.m_nObs, 0);
    const bool deleted = newCount == oldCount - 1 && now.size() == deletedBefore.size() + 1
                         && SameDeletions(now.first(deletedBefore.size()), deletedBefore);
    const bool restored = newCount == oldCount + 1 && now.size() + 1 == deletedBefore.size()
                          && SameDeletions(now, deletedBefore.first(now.size()));
    if (!deleted && !restored)
        return std::nullopt;
    const DeletedReading named = deleted ? now.back() : deletedBefore.back();

    // Among the readings at that depth before: the one named (or, for a
    // restoration, the one it goes back before) and the one before it.
    int previous = -1;
    int next = oldCount;
    int seen = 0;
    for (int i = 0; i < oldCount; ++i) {
        if (!SameDepth(std::bit_cast<double>(before[static_cast<std::size_t>(i)]), named.depth))
            continue;
        if (++seen == named.occurrence) {
            next = i;
            break;
        }
        previous = i;
    }
    auto agrees = [&](int newIndex, int oldIndex) {
        return newIndex < 0 || newIndex >= newCount || oldIndex < 0 || oldIndex >= oldCount
               || DepthBits(doc, newIndex) == before[static_cast<std::size_t>(oldIndex)];
    };
    if (deleted) {
        if (next == oldCount || !agrees(next - 1, next - 1) || !agrees(next, next + 1))
            return std::nullopt;
        return DepthChange{next, oldCount - next - 1};
    }
    // Back after the one before it, where its depth first shows again.
    int at = previous + 1;
    while (at < next && !SameDepth(doc.m_pObs[at].Depth, named.depth))
        ++at;
    if (DepthBits(doc, at) != std::bit_cast<std::uint64_t>(named.depth) || !agrees(at - 1, at - 1)
        || !agrees(at + 1, at))
        return std::nullopt;
    return DepthChange{at, oldCount - at};
}
