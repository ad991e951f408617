#pragma once

#include "survey/DeletedReading.h"
#include "survey/KestrixDoc.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A stretch of the table replaced: readings [oldFirst, oldEnd) of the table
// before are [newFirst, newEnd) of the table now. Readings before and after
// the stretch are as they were, shifted by the difference of its lengths.
struct ReplacedStretch {
    int oldFirst = 0;
    int oldEnd = 0;
    int newFirst = 0;
    int newEnd = 0;
};

// Whether two lists of deleted readings are the same, bit for bit.
bool SameDeletions(std::span<const survey::DeletedReading> a, std::span<const survey::DeletedReading> b);

// The stretches, ascending and apart, in which a table of `oldCount`
// readings became one of `newCount` by `splice`; none when the splice does
// not fit those counts (indices out of order or out of the table).
std::optional<std::vector<ReplacedStretch>> StretchesOfSplice(const survey::CKestrixDoc::TableSplice& splice,
                                                              int oldCount, int newCount);

// The one stretch between the depths that are the same at both ends of
// `before`, the depths bit for bit, and of `doc`'s depths; none when all are
// the same.
std::optional<ReplacedStretch> ScanDepthChange(const survey::CKestrixDoc& doc, std::span<const std::uint64_t> before);
