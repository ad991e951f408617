#pragma once

#include "survey/ReferenceField.h"
#include "survey/SpikeFinder.h"

#include <cmath>
#include <limits>
#include <optional>

namespace survey {

class CKestrixDoc;

// The median over the hole of a quality value less its reference, and how
// far from zero it may lie.
struct ReferenceDifference {
    double median = std::numeric_limits<double>::quiet_NaN();    // NaN without a reading to take
    double tolerance = std::numeric_limits<double>::quiet_NaN(); // NaN in units not known
    bool Passes() const { return std::fabs(median) <= tolerance; }
};

// The survey judged against the model's reference field, as the windows
// and kestrix-batch show it.
struct ReferenceCheck {
    ReferenceDifference field;   // total field less F, nT
    ReferenceDifference dip;     // dip less I, degrees
    ReferenceDifference gravity; // total gravity less normal gravity, in gravityUnit
    GravityUnit gravityUnit = GravityUnit::Unknown;
};

// The check of `doc` as last recalculated; nothing when it has no reference
// field (see CKestrixDoc::m_reference).
std::optional<ReferenceCheck> CheckAgainstReference(const CKestrixDoc& doc, const ReferenceTolerances& tolerances);

} // namespace survey
