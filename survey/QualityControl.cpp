#include "survey/QualityControl.h"

#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"

#include <cmath>
#include <limits>

namespace survey {

QualityValues QualityOf(const Observation& obs)
{
    // hypot neither overflows nor underflows for readings of any size.
    const double field = std::hypot(obs.MagX, obs.MagY, obs.MagZ);
    QualityValues values{field * kNanoteslaPerGauss, std::hypot(obs.AccX, obs.AccY, obs.AccZ), 0.0};
    values.dip = DipOf(obs, values);
    return values;
}

double DipOf(const Observation& obs, const QualityValues& values)
{
    // The sensor axes of the magnetometer and the accelerometer are not one
    // frame, so the dip comes from the field turned to east, north and up;
    // without gravity the probe's attitude, and so that turn, is unknown.
    // (The field in nT is positive exactly when the field in gauss is.)
    if (values.totalField > 0 && values.totalGravity > 0)
        return std::atan2(-obs.MagU, std::hypot(obs.MagE, obs.MagN)) / kDegToRad;
    return std::numeric_limits<double>::quiet_NaN();
}

void CalcQualityValues(CKestrixDoc& doc)
{
    doc.m_QualityValues.resize(static_cast<std::size_t>(doc.m_nObs));
    for (int i = 0; i < doc.m_nObs; ++i)
        doc.m_QualityValues[static_cast<std::size_t>(i)] = QualityOf(doc.m_pObs[i]);
}

} // namespace survey
