#include "views/TableChange.h"

#include <algorithm>
#include <bit>

using namespace survey;

bool SameDeletions(std::span<const DeletedReading> a, std::span<const DeletedReading> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const DeletedReading& x, const DeletedReading& y) {
        return std::bit_cast<std::uint64_t>(x.depth) == std::bit_cast<std::uint64_t>(y.depth)
               && x.occurrence == y.occurrence;
    });
}

// Readings taken out are numbered in the table before, readings put back in
// the table after; neighbouring ones join into one stretch.
std::optional<std::vector<ReplacedStretch>> StretchesOfSplice(const CKestrixDoc::TableSplice& splice, int oldCount,
                                                              int newCount)
{
    const auto spliced = static_cast<long long>(splice.indices.size());
    const int larger = splice.restored ? newCount : oldCount;
    if (spliced == 0 || oldCount < 0 || newCount < 0
        || static_cast<long long>(newCount) - oldCount != (splice.restored ? spliced : -spliced))
        return std::nullopt;
    std::vector<ReplacedStretch> stretches;
    int before = 0; // readings spliced before the present one
    int previous = -1;
    for (const std::int32_t index : splice.indices) {
        if (index <= previous || index >= larger)
            return std::nullopt;
        const int other = index - before; // where it stands in the smaller table
        const ReplacedStretch one = splice.restored ? ReplacedStretch{other, other, index, index + 1}
                                                    : ReplacedStretch{index, index + 1, other, other};
        if (!stretches.empty() && index == previous + 1) {
            stretches.back().oldEnd = one.oldEnd;
            stretches.back().newEnd = one.newEnd;
        } else {
            stretches.push_back(one);
        }
        previous = index;
        ++before;
    }
    return stretches;
}

std::optional<ReplacedStretch> ScanDepthChange(const CKestrixDoc& doc, std::span<const std::uint64_t> before)
{
    const auto depthBits = [&doc](int index) { return std::bit_cast<std::uint64_t>(doc.m_pObs[index].Depth); };
    const auto oldCount = static_cast<int>(before.size());
    const int newCount = std::max(doc.m_nObs, 0);
    const int common = std::min(oldCount, newCount);
    int prefix = 0;
    while (prefix < common && depthBits(prefix) == before[static_cast<std::size_t>(prefix)])
        ++prefix;
    if (prefix == oldCount && oldCount == newCount)
        return std::nullopt;
    int suffix = 0;
    while (suffix < common - prefix
           && depthBits(newCount - 1 - suffix) == before[static_cast<std::size_t>(oldCount - 1 - suffix)])
        ++suffix;
    return ReplacedStretch{prefix, oldCount - suffix, prefix, newCount - suffix};
}
