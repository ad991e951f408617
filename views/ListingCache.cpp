#include "views/ListingCache.h"

#include "survey/KestrixDoc.h"

#include <bit>

using namespace survey;

namespace {

bool SameHead(const ListingText& a, const ListingText& b)
{
    return a.headerLines == b.headerLines && a.headingPieces == b.headingPieces;
}

} // namespace

ListingCache::Source ListingCache::SourceOf(const CKestrixDoc& doc, ListedRows rows)
{
    return {doc.Revision(), doc.m_nObs, doc.m_nObs > 0 ? doc.m_pObs.get() : nullptr, rows};
}

bool ListingCache::SameDepths(const CKestrixDoc& doc) const
{
    if (m_depthBits.size() != static_cast<std::size_t>(std::max(doc.m_nObs, 0)))
        return false;
    for (std::size_t i = 0; i < m_depthBits.size(); ++i) {
        if (std::bit_cast<std::uint64_t>(doc.m_pObs[i].Depth) != m_depthBits[i])
            return false;
    }
    return true;
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

    const bool sameRows = m_built && rows == m_source.rows && SameDepths(doc);
    if (!sameRows) {
        m_listed = ListedObservations(doc, rows);
        m_depthBits.resize(static_cast<std::size_t>(std::max(doc.m_nObs, 0)));
        for (std::size_t i = 0; i < m_depthBits.size(); ++i)
            m_depthBits[i] = std::bit_cast<std::uint64_t>(doc.m_pObs[i].Depth);
    }
    m_lengths.clear();
    std::array<std::size_t, 6> previous{};
    for (int index : m_listed) {
        const std::array<std::size_t, 6> lengths = ListingRowPieceLengths(doc, index);
        if (m_lengths.empty() || lengths != previous)
            m_lengths.insert(lengths);
        previous = lengths;
    }
    m_source = source;
    m_built = true;
    return sameRows ? Change::Values : Change::Rows;
}
