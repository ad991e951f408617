#pragma once

#include "survey/DeletedReading.h"
#include "survey/ListingRows.h"
#include "views/TableChange.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
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
// were taken out or put back only the rows about them are listed anew: the
// survey names them when that was its only change since the last look, and
// the depths are compared otherwise. Depths change only as readings are
// deleted and restored, so with the same deleted readings, table and count
// the rows listed stay without a look at the depths. The piece lengths,
// which every row's values decide, are measured a share of the rows at a time.
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
    // Measures the piece lengths of up to `rows` more rows of `doc`, the
    // survey of the last Refresh; true once every row is measured.
    bool MeasureRows(const survey::CKestrixDoc& doc, std::size_t rows);
    // Every distinct pattern of piece lengths among the rows measured since
    // the last change.
    const std::set<std::array<std::size_t, 6>>& MeasuredPieceLengths() const { return m_lengths; }

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
    // The stretches the survey's last splice replaced since the last look, if that was its only change.
    std::optional<std::vector<ReplacedStretch>> SplicedSinceLastLook(const survey::CKestrixDoc& doc) const;
    void ListAnew(const survey::CKestrixDoc& doc, survey::ListedRows rows, std::span<const ReplacedStretch> stretches);

    bool m_built = false;
    Source m_source;
    survey::ListingText m_head;
    std::vector<int> m_listed;
    std::size_t m_measured = 0; // rows whose piece lengths are in m_lengths
    std::set<std::array<std::size_t, 6>> m_lengths;
    // The depths the rows were chosen from, bit for bit: a depth that
    // became NaN lists other rows.
    std::vector<std::uint64_t> m_depthBits;
    // The survey's deleted readings then.
    std::vector<survey::DeletedReading> m_deleted;
};
