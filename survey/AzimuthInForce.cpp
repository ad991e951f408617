#include "survey/AzimuthInForce.h"

#include "survey/KestrixDoc.h"
#include "survey/ReadingSteps.h"

namespace survey {

void ResolveWithAzimuthInForce(CKestrixDoc& doc, std::int32_t begin, std::int32_t end)
{
    const bool fitted = doc.m_nCoef != 0;
    const FitSpan span = doc.m_fitSpan;
    for (std::int32_t i = begin; i < end; ++i) {
        Observation& o = doc.m_pObs[i];
        const bool replaced = fitted && (!doc.m_bFitLocal || (o.Depth >= span.top && o.Depth <= span.bottom));
        o.AzUsed = replaced ? doc.m_fit.Evaluate(doc.m_dScale * o.Depth) / doc.m_dScale : o.CalcAzMag;
        ResolveReading(o);
    }
}

} // namespace survey
