#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace survey {

class CKestrixDoc;

// Whether two depths name the same readings: exact equality, as a depth typed
// to delete a reading is matched, except that NaN matches NaN.
bool SameDepth(double a, double b);

// The readings of a table at chosen depths, counted in table order among those
// still present while deletions are made one after another. Finding the n-th
// reading at a depth and taking one out each cost O(log n).
class ReadingsAtDepths {
public:
    // The readings of `doc`'s table whose depth is one of `depths`, all
    // present; only those before index `end` when given (occurrences among
    // the readings before a deleted one need no reading after it).
    ReadingsAtDepths(const CKestrixDoc& doc, std::span<const double> depths, std::int32_t end = INT32_MAX);

    // The index of the `occurrence`-th present reading (from 1) at `depth`,
    // or -1 when there is none.
    std::int32_t Find(double depth, std::int32_t occurrence) const;
    // Which present reading at `depth` reading `index` is (from 1); 0 when it
    // is not one of them.
    std::int32_t OccurrenceOf(double depth, std::int32_t index) const;
    // Counts reading `index` at `depth` as deleted (once; again does nothing).
    void Remove(double depth, std::int32_t index);

private:
    using Reading = std::pair<double, std::int32_t>; // depth, index

    std::size_t PositionOf(double depth, std::int32_t index) const;
    // Where reading `index` at `depth` stands while present, else the end.
    std::size_t PresentPosition(double depth, std::int32_t index) const;
    std::int32_t PresentBefore(std::size_t position) const;

    std::vector<Reading> m_readings;   // by depth, then index
    std::vector<std::int32_t> m_tree;  // Fenwick tree of presence over m_readings
};

} // namespace survey
