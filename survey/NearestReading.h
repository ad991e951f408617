#pragma once

#include <optional>
#include <span>

namespace survey {

class CKestrixDoc;

// The shallowest and deepest depths of `doc`'s readings (NaN depths left
// out), or none without a reading whose depth is a number.
struct DepthExtent {
    double shallowest;
    double deepest;
};
std::optional<DepthExtent> DepthExtentOf(const CKestrixDoc& doc);

// The reading of `doc` whose depth lies nearest `depth`, the first in table
// order of equally near ones; -1 when no depth is a number.
int NearestReading(const CKestrixDoc& doc, double depth);

// The place in `indices` (readings of `doc`) of the reading whose depth lies
// nearest `depth`, the first of equally near ones; -1 when none has a depth
// that is a number or an index is outside the table.
int NearestOf(const CKestrixDoc& doc, std::span<const int> indices, double depth);

} // namespace survey
