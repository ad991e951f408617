#pragma once

#include "survey/ListingRows.h"
#include "survey/Observation.h"

#include <array>
#include <vector>

namespace survey {
class CKestrixDoc;
} // namespace survey

// The listing's text, built again only when the survey has changed since it
// was built: the collar and the observation table are compared with a copy
// of them, bit for bit, so a paint or a scroll step never formats a number.
class ListingCache {
public:
    enum class Change {
        None,   // the text is the survey's
        Values, // rebuilt; the same observations are listed, in the same rows
        Rows,   // rebuilt; the listed observations differ
    };

    // Brings the text up to date with `doc`.
    Change Refresh(const survey::CKestrixDoc& doc);
    const survey::ListingText& Text() const { return m_text; }

private:
    bool Matches(const survey::CKestrixDoc& doc) const;

    bool m_built = false;
    survey::ListingText m_text;
    // What the text was built from.
    std::array<double, 4> m_collar{};
    std::vector<survey::Observation> m_observations;
};
