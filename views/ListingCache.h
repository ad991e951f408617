#pragma once

#include "survey/DeletedReading.h"
#include "survey/ListingRows.h"
#include "views/DepthChange.h"

#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace survey {
class CKestrixDoc;
} // namespace survey

// What the listing window lays out: the collar lines and heading, which
// observation each row shows and the lengths of the rows' pieces, from which
// the window measures its widest line. The rows themselves are formatted
// only when drawn. Brought up to date only after the survey has told its
// views of a change (or its table was replaced): a paint or a scroll step
// then costs the rows in view, whatever the survey's length. After readings
// were deleted or restored only the rows about them are listed anew, and the
// piece lengths, which every row's values decide, wait until asked for.
// Depths change only as readings are deleted and restored, which the
// survey's deleted readings name: with the same of those, the same table and
// count, the rows listed stay without a look at the depths, and one reading
// deleted or restored is found by its name.
class ListingCache {
public:
    enum class Change {
        None,   // as it was
        Values, // the same observations are listed, in the same rows
        Rows,   // the listed observations differ
    };

    // Brings the layout up to date with `doc`, listing `rows`.
    Change Refresh(const survey::CKestrixDoc& doc, survey::ListedRows rows);

    // The collar lines and the heading (no rows).
    const survey::ListingText& Head() const { return m_head; }
    // The observation shown on each row, in row order.
    const std::vector<int>& Listed() const { return m_listed; }
    int RowCount() const { return static_cast<int>(m_listed.size()); }
    // Every distinct pattern of piece lengths among the rows; `doc` is the
    // survey of the last Refresh, unchanged since.
    const std::set<std::array<std::size_t, 6>>& RowPieceLengths(const survey::CKestrixDoc& doc);

private:
    // What the layout was made from.
    struct Source {
        std::uint64_t revision = 0;
        int count = 0;
        const void* table = nullptr;
        survey::ListedRows rows = survey::ListedRows::TenMetreSteps;
        friend bool operator==(const Source&, const Source&) = default;
    };
    static Source SourceOf(const survey::CKestrixDoc& doc, survey::ListedRows rows);
    void ListAll(const survey::CKestrixDoc& doc, survey::ListedRows rows);
    void ListAnew(const survey::CKestrixDoc& doc, survey::ListedRows rows, DepthChange change);

    bool m_built = false;
    Source m_source;
    survey::ListingText m_head;
    std::vector<int> m_listed;
    bool m_lengthsKnown = false;
    std::set<std::array<std::size_t, 6>> m_lengths;
    // The depths the rows were chosen from, bit for bit: a depth that
    // became NaN lists other rows.
    std::vector<std::uint64_t> m_depthBits;
    // The survey's deleted readings then, and where each stood in the table
    // (-1 when not known).
    std::vector<survey::DeletedReading> m_deleted;
    std::vector<int> m_deletedAt;
};
