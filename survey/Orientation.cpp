#include "survey/Orientation.h"

#include "survey/AzimuthWrap.h"
#include "survey/KestrixDoc.h"
#include "survey/QualityControl.h"
#include "survey/ReadingSteps.h"
#include "survey/Stretches.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace survey {

void CalcInclination(CKestrixDoc& doc)
{
    for (int i = 0; i < doc.m_nObs; ++i)
        OrientInclination(doc.m_pObs[i]);
}

void CalcRollAngle(CKestrixDoc& doc)
{
    for (int i = 0; i < doc.m_nObs; ++i)
        OrientRoll(doc.m_pObs[i], doc.m_nRollAdjust);
}

namespace {

// Puts the negative azimuths `negative` on 0 to 360 when the sum of the
// terms says so; what CalcAzimuth ends with.
void WrapAzimuths(CKestrixDoc& doc, double sum, const std::vector<int>& negative)
{
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

} // namespace

void CalcAzimuth(CKestrixDoc& doc)
{
    // The negative azimuths are noted, so that wrapping them revisits only
    // their readings rather than the whole table.
    std::vector<int> negative;
    double sum = 0.0;
    for (int i = 0; i < doc.m_nObs; ++i) {
        Observation& o = doc.m_pObs[i];
        OrientAzimuth(o);
        if (o.CalcAzMag < 0)
            negative.push_back(i);
        sum += WrapTerm(o.CalcAzMag);
    }
    WrapAzimuths(doc, sum, negative);
}

void CalcOrientation(CKestrixDoc& doc)
{
    // Each reading is oriented on its own, on both cores, and its quality
    // values follow while it is at hand; the wrap's terms are then summed in
    // table order, as CalcAzimuth sums them.
    const auto n = static_cast<std::size_t>(std::max(doc.m_nObs, 0));
    std::vector<double> terms(n);
    std::vector<std::uint8_t> isNegative(n);
    doc.m_QualityValues.resize(n);
    QualityValues* quality = doc.m_QualityValues.data();
    ForStretches(doc.m_nObs, [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t i = begin; i < end; ++i) {
            Observation& o = doc.m_pObs[i];
            OrientInclination(o);
            OrientRoll(o, doc.m_nRollAdjust);
            OrientAzimuth(o);
            quality[i] = QualityOf(o);
            terms[static_cast<std::size_t>(i)] = WrapTerm(o.CalcAzMag);
            isNegative[static_cast<std::size_t>(i)] = o.CalcAzMag < 0;
        }
    });
    std::vector<int> negative;
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += terms[i];
        if (isNegative[i])
            negative.push_back(static_cast<int>(i));
    }
    WrapAzimuths(doc, sum, negative);
    doc.m_bOrientationCurrent = true;
}

void ResolveComponents(CKestrixDoc& doc)
{
    for (int i = 0; i < doc.m_nObs; ++i)
        ResolveReading(doc.m_pObs[i]);
}

} // namespace survey
