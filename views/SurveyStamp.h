#pragma once

#include "survey/KestrixDoc.h"

#include <cstdint>

// Which state of a survey a view's cached values were worked out from: the
// document's count of changes the views were told of, and its table. Every
// edit, undo, redo and recalculation tells the views, so values kept under an
// equal stamp still hold.
struct SurveyStamp {
    std::uint64_t revision = 0;
    std::int32_t count = -1; // no survey yet: differs from every document's
    const survey::Observation* table = nullptr;

    static SurveyStamp Of(const survey::CKestrixDoc& doc)
    {
        return {doc.Revision(), doc.m_nObs, doc.m_nObs > 0 ? doc.m_pObs.get() : nullptr};
    }
    friend bool operator==(const SurveyStamp&, const SurveyStamp&) = default;
};
