#include "survey/QualityControl.h"

#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace survey {

QualityValues QualityOf(const Observation& obs)
{
    // hypot neither overflows nor underflows for readings of any size.
    const double field = std::hypot(obs.MagX, obs.MagY, obs.MagZ);
    const double gravity = std::hypot(obs.AccX, obs.AccY, obs.AccZ);
    double dip = std::numeric_limits<double>::quiet_NaN();
    if (field > 0 && gravity > 0) {
        // Unit vectors first, so the product of two large lengths cannot
        // overflow; rounding can still carry the sine just past +-1.
        const double sine = (obs.MagX / field) * (obs.AccX / gravity) + (obs.MagY / field) * (obs.AccY / gravity) +
                            (obs.MagZ / field) * (obs.AccZ / gravity);
        dip = std::asin(std::clamp(sine, -1.0, 1.0)) / kDegToRad;
    }
    return {field * kNanoteslaPerGauss, gravity, dip};
}

void CalcQualityValues(CKestrixDoc& doc)
{
    doc.m_QualityValues.resize(static_cast<std::size_t>(doc.m_nObs));
    for (int i = 0; i < doc.m_nObs; ++i)
        doc.m_QualityValues[static_cast<std::size_t>(i)] = QualityOf(doc.m_pObs[i]);
}

} // namespace survey
