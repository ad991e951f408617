#include "survey/ReferenceCheck.h"

#include "geomag/NormalGravity.h"
#include "survey/KestrixDoc.h"
#include "survey/Median.h"

#include <vector>

namespace survey {

std::optional<ReferenceCheck> CheckAgainstReference(const CKestrixDoc& doc, const ReferenceTolerances& tolerances)
{
    const ReferenceField& reference = doc.m_reference;
    if (!reference.IsKnown() || reference.readings.size() != doc.m_QualityValues.size())
        return std::nullopt;
    const std::size_t n = reference.readings.size();
    std::vector<double> field(n), dip(n), gravity(n);
    for (std::size_t i = 0; i < n; ++i) {
        const QualityValues& q = doc.m_QualityValues[i];
        const ReferenceReading& r = reference.readings[i];
        field[i] = q.totalField - r.totalNt;
        dip[i] = q.dip - r.inclinationDegrees;
        gravity[i] = q.totalGravity - reference.gravity;
    }
    ReferenceCheck check;
    check.gravityUnit = reference.gravityUnit;
    check.field = {MedianOfFinite(std::move(field)), tolerances.fieldNt};
    check.dip = {MedianOfFinite(std::move(dip)), tolerances.dipDegrees};
    const double gravityTolerance = reference.gravityUnit == GravityUnit::G ? tolerances.gravityG
                                    : reference.gravityUnit == GravityUnit::MetresPerSecondSquared
                                        ? tolerances.gravityG * geomag::kStandardGravity
                                        : std::numeric_limits<double>::quiet_NaN();
    check.gravity = {MedianOfFinite(std::move(gravity)), gravityTolerance};
    return check;
}

} // namespace survey
