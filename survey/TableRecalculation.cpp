#include "survey/TableRecalculation.h"

#include "survey/AzimuthFit.h"
#include "survey/KestrixDoc.h"
#include "survey/QualityControl.h"
#include "survey/ReferenceField.h"
#include "survey/Trajectory.h"

#include <cmath>
#include <cstring>

namespace survey {

namespace {

template <typename T>
bool SameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Whether the azimuth rule of CalcAzimuth decides as it did last time. The
// sum is that of CalcAzimuth to the bit: a wrapped azimuth already holds the
// term CalcAzimuth added for it.
bool WrapsAsBefore(const CKestrixDoc& doc)
{
    double sum = 0.0;
    for (int i = 0; i < doc.m_nObs; ++i) {
        const double az = doc.m_pObs[i].CalcAzMag;
        sum += az >= 0 ? az : az + 360;
    }
    const bool wraps = doc.m_nObs > 0 && std::fabs(sum / doc.m_nObs - 180) < 20;
    return wraps == doc.m_bAzimuthsWrapped;
}

// Whether a refit through the control points gives the fit in force, which
// the readings that stayed were calculated with. Leaves the refit in place.
bool RefitsAsBefore(CKestrixDoc& doc)
{
    const std::int32_t nCoef = doc.m_nCoef;
    const std::array<double, CKestrixDoc::kMaxCoefficients> coef = doc.m_dCoef;
    const OrthogonalFit fit = doc.m_fit;
    const FitSpan span = doc.m_fitSpan;
    FitThroughControlPoints(doc);
    if (doc.m_nCoef != nCoef)
        return false;
    return nCoef == 0
        || (SameBits(coef, doc.m_dCoef) && fit.nTerms == doc.m_fit.nTerms && SameBits(fit.b, doc.m_fit.b)
            && SameBits(fit.alpha, doc.m_fit.alpha) && SameBits(fit.beta, doc.m_fit.beta) && SameBits(span, doc.m_fitSpan));
}

// Positions from reading `first` on, where readings `first` to `last` (in the
// larger table) went or came back; all of them when the first or the last
// reading did, or the positions are stepped from the last reading.
void FinishFrom(CKestrixDoc& doc, std::int32_t first, std::int32_t last, std::int32_t largerCount)
{
    if (first > 0 && last < largerCount - 1 && !TraversesBackwards(doc))
        CalcPositionsFrom(doc, first);
    else
        CalcPositions(doc);
    CalcReferenceField(doc);
    doc.UpdateAllViews();
}

} // namespace

bool RecalculateAfterRemoval(CKestrixDoc& doc, std::span<const RemovedObservation> removed, bool refit)
{
    const auto before = static_cast<std::size_t>(doc.m_nObs) + removed.size();
    if (removed.empty() || doc.m_QualityValues.size() != before || !WrapsAsBefore(doc)
        || (refit && !RefitsAsBefore(doc)))
        return false;
    // The quality values close up as the table did.
    std::vector<QualityValues>& quality = doc.m_QualityValues;
    std::size_t kept = static_cast<std::size_t>(removed.front().index);
    for (std::size_t k = 0; k < removed.size(); ++k) {
        const auto from = static_cast<std::size_t>(removed[k].index) + 1;
        const std::size_t to = k + 1 < removed.size() ? static_cast<std::size_t>(removed[k + 1].index) : before;
        std::copy(quality.begin() + static_cast<std::ptrdiff_t>(from), quality.begin() + static_cast<std::ptrdiff_t>(to),
                  quality.begin() + static_cast<std::ptrdiff_t>(kept));
        kept += to - from;
    }
    quality.resize(kept);
    FinishFrom(doc, removed.front().index, removed.back().index, static_cast<std::int32_t>(before));
    return true;
}

bool RecalculateAfterRestore(CKestrixDoc& doc, std::span<const RemovedObservation> restored)
{
    const auto now = static_cast<std::size_t>(doc.m_nObs);
    if (restored.empty() || doc.m_QualityValues.size() + restored.size() != now || !WrapsAsBefore(doc))
        return false;
    // The restored readings hold what the recalculation before they went gave them.
    std::vector<QualityValues>& quality = doc.m_QualityValues;
    quality.resize(now);
    std::size_t end = now - restored.size(); // the values not moved yet are quality[0 .. end)
    for (std::size_t k = restored.size(); k-- > 0;) {
        const auto at = static_cast<std::size_t>(restored[k].index);
        const std::size_t from = at - k;
        std::copy_backward(quality.begin() + static_cast<std::ptrdiff_t>(from),
                           quality.begin() + static_cast<std::ptrdiff_t>(end),
                           quality.begin() + static_cast<std::ptrdiff_t>(end + k + 1));
        quality[at] = QualityOf(restored[k].observation);
        end = from;
    }
    FinishFrom(doc, restored.front().index, restored.back().index, doc.m_nObs);
    return true;
}

} // namespace survey
