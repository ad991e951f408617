#include "views/ListingCache.h"

#include "survey/KestrixDoc.h"

#include <algorithm>
#include <cstring>

using namespace survey;

namespace {

std::array<double, 4> CollarOf(const CKestrixDoc& doc)
{
    return {doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight, doc.m_dDeclination};
}

// The observation table as a range; empty when there is none.
const Observation* Begin(const CKestrixDoc& doc) { return doc.m_nObs > 0 ? doc.m_pObs.get() : nullptr; }
const Observation* End(const CKestrixDoc& doc) { return doc.m_nObs > 0 ? doc.m_pObs.get() + doc.m_nObs : nullptr; }

bool SameRows(const ListingText& a, const ListingText& b)
{
    return std::equal(a.rows.begin(), a.rows.end(), b.rows.begin(), b.rows.end(),
                      [](const ListingText::Row& x, const ListingText::Row& y) { return x.index == y.index; });
}

} // namespace

// Bit for bit: a value that became NaN, or -0 that became 0, prints differently.
bool ListingCache::Matches(const CKestrixDoc& doc) const
{
    const std::array<double, 4> collar = CollarOf(doc);
    if (std::memcmp(collar.data(), m_collar.data(), sizeof collar) != 0)
        return false;
    const Observation* begin = Begin(doc);
    const std::size_t count = static_cast<std::size_t>(End(doc) - begin);
    return count == m_observations.size()
        && (count == 0 || std::memcmp(begin, m_observations.data(), count * sizeof(Observation)) == 0);
}

ListingCache::Change ListingCache::Refresh(const CKestrixDoc& doc)
{
    if (m_built && Matches(doc))
        return Change::None;
    ListingText text = BuildListing(doc);
    const bool sameRows = m_built && SameRows(text, m_text);
    m_text = std::move(text);
    m_collar = CollarOf(doc);
    m_observations.assign(Begin(doc), End(doc));
    m_built = true;
    return sameRows ? Change::Values : Change::Rows;
}
