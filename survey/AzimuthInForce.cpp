#include "survey/AzimuthInForce.h"

#include "survey/KestrixDoc.h"
#include "survey/QualityControl.h"
#include "survey/ReadingSteps.h"
#include "survey/Stretches.h"

namespace survey {

void ResolveWithAzimuthInForce(CKestrixDoc& doc, bool fieldsKnown)
{
    const auto n = static_cast<std::size_t>(doc.m_nObs);
    doc.m_QualityValues.resize(n);
    QualityValues* quality = doc.m_QualityValues.data();
    const bool fitted = doc.m_nCoef != 0;
    const FitSpan span = doc.m_fitSpan;
    // Every reading on its own, on both cores.
    ForStretches(doc.m_nObs, [&](std::int32_t begin, std::int32_t end) {
        for (auto i = static_cast<std::size_t>(begin); i < static_cast<std::size_t>(end); ++i) {
            Observation& o = doc.m_pObs[static_cast<std::int32_t>(i)];
            const bool replaced = fitted && (!doc.m_bFitLocal || (o.Depth >= span.top && o.Depth <= span.bottom));
            o.AzUsed = replaced ? doc.m_fit.Evaluate(doc.m_dScale * o.Depth) / doc.m_dScale : o.CalcAzMag;
            ResolveReading(o);
            if (fieldsKnown)
                quality[i].dip = DipOf(o, quality[i]);
            else
                quality[i] = QualityOf(o);
        }
    });
}

} // namespace survey
