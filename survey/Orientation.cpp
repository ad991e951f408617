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

// A negative measured azimuth on 0 to 360.
void WrapAzimuth(Observation& o)
{
    o.CalcAzMag += 360;
    o.AzUsed = o.CalcAzMag;
}

// Puts the negative azimuths `negative` on 0 to 360 when the sum of the
// terms says so; what CalcAzimuth ends with.
void WrapAzimuths(CKestrixDoc& doc, double sum, const std::vector<int>& negative)
{
    doc.m_bAzimuthsWrapped = WrapsAzimuths(sum, doc.m_nObs);
    doc.m_wrapTerms = SummedInOrder(sum, doc.m_nObs);
    if (doc.m_bAzimuthsWrapped) {
        for (const int i : negative)
            WrapAzimuth(doc.m_pObs[i]);
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

TableOrientation::TableOrientation(CKestrixDoc& doc)
    : m_doc(doc)
    , m_wrapsAsBefore(doc.m_bAzimuthsWrapped)
{
    const auto n = static_cast<std::size_t>(std::max(doc.m_nObs, 0));
    m_terms.resize(n);
    m_isNegative.resize(n);
    doc.m_QualityValues.resize(n);
}

void TableOrientation::Orient(std::int32_t begin, std::int32_t end)
{
    // The quality values follow while the reading is at hand.
    QualityValues* quality = m_doc.m_QualityValues.data();
    for (std::int32_t i = begin; i < end; ++i) {
        Observation& o = m_doc.m_pObs[i];
        OrientInclination(o);
        OrientRoll(o, m_doc.m_nRollAdjust);
        OrientAzimuth(o);
        const auto at = static_cast<std::size_t>(i);
        quality[at] = QualityOf(o);
        m_terms[at] = WrapTerm(o.CalcAzMag);
        m_isNegative[at] = o.CalcAzMag < 0;
        if (m_wrapsAsBefore && o.CalcAzMag < 0)
            WrapAzimuth(o);
    }
}

bool TableOrientation::Finish()
{
    // The wrap's terms summed in table order, as CalcAzimuth sums them.
    double sum = 0.0;
    for (const double term : m_terms)
        sum += term;
    const std::int32_t n = m_doc.m_nObs;
    m_doc.m_bAzimuthsWrapped = WrapsAzimuths(sum, n);
    m_doc.m_wrapTerms = SummedInOrder(sum, n);
    m_doc.m_bOrientationCurrent = true;
    if (m_doc.m_bAzimuthsWrapped == m_wrapsAsBefore)
        return false;
    // Wrapped otherwise than last time: the negative azimuths go on 0 to
    // 360, or are measured again on -180 to 180.
    bool changed = false;
    for (std::int32_t i = 0; i < n; ++i) {
        if (!m_isNegative[static_cast<std::size_t>(i)])
            continue;
        if (m_doc.m_bAzimuthsWrapped)
            WrapAzimuth(m_doc.m_pObs[i]);
        else
            OrientAzimuth(m_doc.m_pObs[i]);
        changed = true;
    }
    return changed;
}

void CalcOrientation(CKestrixDoc& doc)
{
    TableOrientation orientation(doc);
    ForStretches(doc.m_nObs, [&](std::int32_t begin, std::int32_t end) { orientation.Orient(begin, end); });
    orientation.Finish();
}

void ResolveComponents(CKestrixDoc& doc)
{
    for (int i = 0; i < doc.m_nObs; ++i)
        ResolveReading(doc.m_pObs[i]);
}

} // namespace survey
