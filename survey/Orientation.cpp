#include "survey/Orientation.h"

#include "survey/AzimuthWrap.h"
#include "survey/KestrixDoc.h"
#include "survey/SineCosine.h"

#include <cmath>
#include <vector>

namespace survey {

void CalcInclination(CKestrixDoc& doc)
{
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        const double a = std::sqrt(o.AccX * o.AccX + o.AccY * o.AccY + o.AccZ * o.AccZ);
        o.CalcIncl = a > 0 ? std::acos(o.AccZ / a) / kDegToRad : 0.0;
    }
}

void CalcRollAngle(CKestrixDoc& doc)
{
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        const double t = std::atan2(o.AccX, o.AccY);
        o.CalcRoll = t * -180.0 / kPi + 180.0 + doc.m_nRollAdjust;
        if (o.CalcRoll > 360)
            o.CalcRoll -= 360;
    }
}

void CalcAzimuth(CKestrixDoc& doc)
{
    // The negative azimuths are noted, so that wrapping them revisits only
    // their readings rather than the whole table.
    std::vector<int> negative;
    double sum = 0.0;
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        const SineCosine roll = SineCosineOf(o.CalcRoll * kDegToRad);
        const SineCosine s = SineCosineOf((90 - o.CalcIncl) * kDegToRad);
        const double v = o.MagY * roll.cos - o.MagX * roll.sin;
        o.MagH1 = o.MagX * roll.cos + o.MagY * roll.sin;
        o.MagH2 = v * s.cos + o.MagZ * s.sin;
        o.MagV = v * s.sin - o.MagZ * s.cos;
        o.CalcAzMag = std::atan2(o.MagH1, o.MagH2) / kDegToRad;
        o.AzUsed = o.CalcAzMag;
        if (o.CalcAzMag < 0)
            negative.push_back(i);
        sum += WrapTerm(o.CalcAzMag);
    }
    doc.m_bAzimuthsWrapped = WrapsAzimuths(sum, doc.m_nObs);
    doc.m_wrapTerms = SummedInOrder(sum, doc.m_nObs);
    if (doc.m_bAzimuthsWrapped) {
        for (const int i : negative) {
            Observation& o = doc.m_pObs[i];
            o.CalcAzMag += 360;
            o.AzUsed = o.CalcAzMag;
        }
    }
}

void ResolveComponents(CKestrixDoc& doc)
{
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        const SineCosine a = SineCosineOf(o.AzUsed * kDegToRad);
        // MagH1 lies across the hole, to the left of its direction: east is
        // the along-hole part less that one.
        o.MagE = o.MagH2 * a.sin - o.MagH1 * a.cos;
        o.MagN = o.MagH1 * a.sin + o.MagH2 * a.cos;
        o.MagU = o.MagV;
    }
}

} // namespace survey
