#include "survey/Trajectory.h"

#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"

#include <cmath>

namespace survey {

namespace {

// The mean of two neighbouring azimuths. A pair more than half a circle apart
// straddles north and is averaged the short way round (350 and 10 give 360).
double MeanAzimuth(double a, double b)
{
    const double mean = 0.5 * (a + b);
    return std::fabs(a - b) > 180 ? mean + 180 : mean;
}

} // namespace

bool TraversesBackwards(const CKestrixDoc& doc)
{
    return doc.m_nObs > 0 && doc.m_pObs[doc.m_nObs - 1].Depth < doc.m_pObs[0].Depth;
}

void CalcPositions(CKestrixDoc& doc)
{
    if (doc.m_nObs == 0)
        return;
    const bool backwards = TraversesBackwards(doc);
    const int step = backwards ? -1 : 1;
    const int first = backwards ? doc.m_nObs - 1 : 0;

    Observation& start = doc.m_pObs[first];
    {
        const double a = (start.AzUsed - doc.m_dDeclination) * kDegToRad;
        const double inc = start.CalcIncl * kDegToRad;
        const double d = start.Depth;
        start.East = doc.m_dEasting + d * std::cos(inc) * std::sin(a);
        start.North = doc.m_dNorthing + d * std::cos(inc) * std::cos(a);
        start.Height = doc.m_dHeight - d * std::sin(inc);
    }
    for (int k = 1; k < doc.m_nObs; ++k) {
        const int n = first + k * step;
        Observation& o = doc.m_pObs[n];
        const Observation& p = doc.m_pObs[n - step];
        const double a = (MeanAzimuth(o.AzUsed, p.AzUsed) - doc.m_dDeclination) * kDegToRad;
        const double inc = 0.5 * (o.CalcIncl + p.CalcIncl) * kDegToRad;
        const double delta = o.Depth - p.Depth;
        o.East = p.East + delta * std::cos(inc) * std::sin(a);
        o.North = p.North + delta * std::cos(inc) * std::cos(a);
        o.Height = p.Height - delta * std::sin(inc);
    }
}

} // namespace survey
