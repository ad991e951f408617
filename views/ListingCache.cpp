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

// Replaces `count` elements of `values` from `at` with `fresh`.
template <typename T>
void Splice(std::vector<T>& values, std::size_t at, std::size_t count, const std::vector<T>& fresh)
{
    const auto start = values.begin() + static_cast<std::ptrdiff_t>(at);
    if (fresh.size() > count)
        values.insert(start + static_cast<std::ptrdiff_t>(count), fresh.size() - count, T{});
    else
        values.erase(start + static_cast<std::ptrdiff_t>(fresh.size()), start + static_cast<std::ptrdiff_t>(count));
    std::copy(fresh.begin(), fresh.end(), values.begin() + static_cast<std::ptrdiff_t>(at));
}

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

// Whether a row is listed depends on its neighbours' depths only, so the rows
// before and after the depths that changed keep their state: only the changed
// stretch and one row either side are listed anew.
void ListingCache::ListAnew(const CKestrixDoc& doc, ListedRows rows, DepthChange change)
{
    const int oldCount = static_cast<int>(m_depthBits.size());
    const int newCount = std::max(doc.m_nObs, 0);
    const int first = std::max(change.prefix - 1, 0);
    const int oldEnd = std::min(oldCount - change.suffix + 1, oldCount);
    const int newEnd = std::min(newCount - change.suffix + 1, newCount);
    const auto from = std::lower_bound(m_listed.begin(), m_listed.end(), first);
    const auto to = std::lower_bound(from, m_listed.end(), oldEnd);
    for (auto later = to; later != m_listed.end(); ++later)
        *later += newCount - oldCount;
    std::vector<int> relisted;
    AppendListedObservations(doc, rows, first, newEnd, relisted);
    Splice(m_listed, static_cast<std::size_t>(from - m_listed.begin()), static_cast<std::size_t>(to - from), relisted);

    std::vector<std::uint64_t> changedDepths;
    for (int i = change.prefix; i < newCount - change.suffix; ++i)
        changedDepths.push_back(DepthBits(doc, i));
    Splice(m_depthBits, static_cast<std::size_t>(change.prefix),
           static_cast<std::size_t>(oldCount - change.suffix - change.prefix), changedDepths);
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
    const bool sameTable = source.table == m_source.table;
    const std::size_t commonDeletions = CommonDeletions(doc.m_DeletedReadings, m_deleted);
    const bool sameDeletions = commonDeletions == m_deleted.size() && commonDeletions == doc.m_DeletedReadings.size();
    const int lastDeletedAt = m_deletedAt.empty() ? -1 : m_deletedAt.back();
    std::optional<DepthChange> change;
    if (!m_built || rows != m_source.rows)
        ListAll(doc, rows);
    else if (sameTable && source.count == m_source.count && sameDeletions)
        sameRows = true;
    else if ((sameTable && (change = OneReadingDeletedOrRestored(doc, m_depthBits, m_deleted, lastDeletedAt)))
             || (change = ScanDepthChange(doc, m_depthBits)))
        ListAnew(doc, rows, *change);
    else
        sameRows = true;
    // Where each reading deleted since the load stood, while it is known: one
    // deleted alone stood where its change begins.
    const bool oneDeleted = change && doc.m_DeletedReadings.size() == m_deleted.size() + 1
                            && commonDeletions == m_deleted.size() && source.count == m_source.count - 1;
    m_deletedAt.resize(std::min(commonDeletions, m_deletedAt.size()));
    m_deletedAt.resize(doc.m_DeletedReadings.size(), oneDeleted ? change->prefix : -1);
    m_deleted = doc.m_DeletedReadings;
    m_lengthsKnown = false;
    m_source = source;
    m_built = true;
    return sameRows ? Change::Values : Change::Rows;
}

const std::set<std::array<std::size_t, 6>>& ListingCache::RowPieceLengths(const CKestrixDoc& doc)
{
    if (!m_lengthsKnown) {
        // Only rows still in the table, should it have shrunk unannounced.
        const auto inTable = std::lower_bound(m_listed.begin(), m_listed.end(), std::max(doc.m_nObs, 0));
        m_lengths = ListingRowPieceLengthSet(doc, std::span<const int>(m_listed.begin(), inTable));
        m_lengthsKnown = true;
    }
    return m_lengths;
}
