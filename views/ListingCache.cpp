#include "views/ListingCache.h"

#include "survey/KestrixDoc.h"

#include <algorithm>
#include <bit>

using namespace survey;

namespace {

bool SameHead(const ListingText& a, const ListingText& b)
{
    return a.headerLines == b.headerLines && a.headingPieces == b.headingPieces;
}

std::uint64_t DepthBits(const CKestrixDoc& doc, int index) { return std::bit_cast<std::uint64_t>(doc.m_pObs[index].Depth); }

} // namespace

ListingCache::Source ListingCache::SourceOf(const CKestrixDoc& doc, ListedRows rows)
{
    return {doc.Revision(), doc.m_nObs, doc.m_nObs > 0 ? doc.m_pObs.get() : nullptr, rows};
}

void ListingCache::ListAll(const CKestrixDoc& doc, ListedRows rows)
{
    m_listed = ListedObservations(doc, rows);
    m_depthBits.resize(static_cast<std::size_t>(std::max(doc.m_nObs, 0)));
    for (std::size_t i = 0; i < m_depthBits.size(); ++i)
        m_depthBits[i] = DepthBits(doc, static_cast<int>(i));
}

// A splice holds for the one revision it was made for, which must follow the
// one the rows were listed for.
std::optional<std::vector<ReplacedStretch>> ListingCache::SplicedSinceLastLook(const CKestrixDoc& doc) const
{
    const CKestrixDoc::TableSplice* splice = doc.SpliceSince(m_source.revision);
    if (!splice)
        return std::nullopt;
    return StretchesOfSplice(*splice, static_cast<int>(m_depthBits.size()), std::max(doc.m_nObs, 0));
}

// Whether a row is listed depends on its neighbours' depths only, so the rows
// away from the stretches that changed keep their state: only each stretch
// and one row either side are listed anew.
void ListingCache::ListAnew(const CKestrixDoc& doc, ListedRows rows, std::span<const ReplacedStretch> stretches)
{
    const int oldCount = static_cast<int>(m_depthBits.size());
    const int newCount = std::max(doc.m_nObs, 0);
    // Stretches closer than two rows share the rows listed anew between them.
    std::vector<ReplacedStretch> joined;
    for (const ReplacedStretch& stretch : stretches) {
        if (!joined.empty() && stretch.oldFirst < joined.back().oldEnd + 2) {
            joined.back().oldEnd = stretch.oldEnd;
            joined.back().newEnd = stretch.newEnd;
        } else {
            joined.push_back(stretch);
        }
    }

    std::vector<int> listed;
    listed.reserve(m_listed.size() + static_cast<std::size_t>(std::max(newCount - oldCount, 0)));
    std::vector<std::uint64_t> depthBits;
    depthBits.reserve(static_cast<std::size_t>(newCount));
    auto kept = m_listed.cbegin();
    int shift = 0;
    int oldAt = 0;
    for (const ReplacedStretch& stretch : joined) {
        const int oldFirst = std::max(stretch.oldFirst - 1, 0);
        const int oldEnd = std::min(stretch.oldEnd + 1, oldCount);
        for (; kept != m_listed.cend() && *kept < oldFirst; ++kept)
            listed.push_back(*kept + shift);
        while (kept != m_listed.cend() && *kept < oldEnd)
            ++kept;
        AppendListedObservations(doc, rows, std::max(stretch.newFirst - 1, 0), std::min(stretch.newEnd + 1, newCount),
                                 listed);
        depthBits.insert(depthBits.end(), m_depthBits.begin() + oldAt, m_depthBits.begin() + stretch.oldFirst);
        for (int i = stretch.newFirst; i < stretch.newEnd; ++i)
            depthBits.push_back(DepthBits(doc, i));
        oldAt = stretch.oldEnd;
        shift = stretch.newEnd - stretch.oldEnd;
    }
    for (; kept != m_listed.cend(); ++kept)
        listed.push_back(*kept + shift);
    depthBits.insert(depthBits.end(), m_depthBits.begin() + oldAt, m_depthBits.end());
    m_listed = std::move(listed);
    m_depthBits = std::move(depthBits);
}

// The head is a few lines, made again at every refresh: a collar changed
// without a word to the views still shows.
ListingCache::Change ListingCache::Refresh(const CKestrixDoc& doc, ListedRows rows)
{
    ListingText head = BuildListingHead(doc);
    const Source source = SourceOf(doc, rows);
    const bool sameHead = m_built && SameHead(head, m_head);
    if (sameHead && source == m_source)
        return Change::None;
    m_head = std::move(head);
    if (m_built && source == m_source)
        return Change::Values;

    bool sameRows = false;
    if (!m_built || rows != m_source.rows) {
        ListAll(doc, rows);
    } else if (const auto spliced = SplicedSinceLastLook(doc)) {
        ListAnew(doc, rows, *spliced);
    } else if (source.table == m_source.table && source.count == m_source.count
               && SameDeletions(doc.m_DeletedReadings, m_deleted)) {
        sameRows = true;
    } else if (const auto scanned = ScanDepthChange(doc, m_depthBits)) {
        ListAnew(doc, rows, std::span(&*scanned, 1));
    } else {
        sameRows = true;
    }
    m_deleted = doc.m_DeletedReadings;
    m_measured = 0;
    m_lengths.clear();
    m_source = source;
    m_built = true;
    return sameRows ? Change::Values : Change::Rows;
}

bool ListingCache::MeasureRows(const CKestrixDoc& doc, std::size_t rows)
{
    // Only rows still in the table, should it have shrunk unannounced.
    const auto inTable = static_cast<std::size_t>(
        std::lower_bound(m_listed.begin(), m_listed.end(), std::max(doc.m_nObs, 0)) - m_listed.begin());
    const std::size_t end = std::min(inTable, m_measured + std::min(rows, inTable));
    if (end > m_measured)
        m_lengths.merge(ListingRowPieceLengthSet(doc, std::span<const int>(m_listed).subspan(m_measured, end - m_measured)));
    m_measured = std::max(m_measured, end);
    return m_measured >= inTable;
}
