#include "survey/QualityControl.h"

#include "survey/Hypot.h"
#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"

#include <cmath>
#include <limits>

namespace survey {

QualityValues QualityOf(const Observation& obs)
{
    const double field = Hypot(obs.MagX, obs.MagY, obs.MagZ) * kNanoteslaPerGauss;
    const double gravity = Hypot(obs.AccX, obs.AccY, obs.AccZ);
    // The sensor axes of the magnetometer and the accelerometer are not one
    // frame, so the dip comes from the field turned to the horizontal and
    // vertical; without gravity the probe's attitude, and so that turn, is
    // unknown. A turn about the vertical keeps the dip, so the components
    // resolved to east and north give it too, less accurately.
    const double dip = field > 0 && gravity > 0 ? std::atan2(-obs.MagV, Hypot(obs.MagH1, obs.MagH2)) / kDegToRad
                                                : std::numeric_limits<double>::quiet_NaN();
    return {field, gravity, dip};
}

void CalcQualityValues(CKestrixDoc& doc)
{
    doc.m_QualityValues.resize(static_cast<std::size_t>(doc.m_nObs));
    for (int i = 0; i < doc.m_nObs; ++i)
        doc.m_QualityValues[static_cast<std::size_t>(i)] = QualityOf(doc.m_pObs[i]);
}

} // namespace survey
