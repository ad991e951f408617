#include "survey/Orientation.h"

#include "survey/KestrixDoc.h"

#include <cmath>

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
    double sum = 0.0;
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        const double r = o.CalcRoll * kDegToRad;
        const double s = (90 - o.CalcIncl) * kDegToRad;
        const double cosR = std::cos(r), sinR = std::sin(r);
        const double cosS = std::cos(s), sinS = std::sin(s);
        const double v = o.MagY * cosR - o.MagX * sinR;
        o.MagH1 = o.MagX * cosR + o.MagY * sinR;
        o.MagH2 = v * cosS + o.MagZ * sinS;
        o.MagV = v * sinS - o.MagZ * cosS;
        o.CalcAzMag = std::atan2(o.MagH1, o.MagH2) / kDegToRad;
        o.AzUsed = o.CalcAzMag;
        sum += o.CalcAzMag >= 0 ? o.CalcAzMag : o.CalcAzMag + 360;
    }
    doc.m_bAzimuthsWrapped = doc.m_nObs > 0 && std::fabs(sum / doc.m_nObs - 180) < 20;
    if (doc.m_bAzimuthsWrapped) {
        for (int i = 0; i < doc.m_nObs; ++i) {
            Observation& o = doc.m_pObs[i];
            if (o.CalcAzMag < 0) {
                o.CalcAzMag += 360;
                o.AzUsed = o.CalcAzMag;
            }
        }
    }
}

void ResolveComponents(CKestrixDoc& doc)
{
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        const double a = o.AzUsed * kDegToRad;
        const double cosA = std::cos(a), sinA = std::sin(a);
        // MagH1 lies across the hole, to the left of its direction: east is
        // the along-hole part less that one.
        o.MagE = o.MagH2 * sinA - o.MagH1 * cosA;
        o.MagN = o.MagH1 * sinA + o.MagH2 * cosA;
        o.MagU = o.MagV;
    }
}

} // namespace survey
