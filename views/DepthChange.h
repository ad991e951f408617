#pragma once

#include "survey/DeletedReading.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace survey {
class CKestrixDoc;
} // namespace survey

// How a survey's depths differ from a copy of them, bit for bit: the first
// `prefix` and the last `suffix` depths are the same in both (prefix + suffix
// at most the shorter count), the ones between changed.
struct DepthChange {
    int prefix = 0;
    int suffix = 0;
};

// How many deleted readings two lists begin with alike, bit for bit.
std::size_t CommonDeletions(std::span<const survey::DeletedReading> a, std::span<const survey::DeletedReading> b);

// The change from `before`, the depths bit for bit, to `doc`'s depths, read
// from both ends; none when they are the same.
std::optional<DepthChange> ScanDepthChange(const survey::CKestrixDoc& doc, std::span<const std::uint64_t> before);

// The change from `before`, when `doc` has one reading fewer or more and its
// deleted readings are `deletedBefore` with one appended or taken off: a
// reading deleted is found by the name they give it, one restored at
// `lastDeletedAt`, where the last of `deletedBefore` stood (-1 when not
// known), without reading the other depths of `doc`. None otherwise, or when
// the depths about that reading disagree.
std::optional<DepthChange> OneReadingDeletedOrRestored(const survey::CKestrixDoc& doc,
                                                       std::span<const std::uint64_t> before,
                                                       std::span<const survey::DeletedReading> deletedBefore,
                                                       int lastDeletedAt);
