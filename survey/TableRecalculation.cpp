#include "survey/TableRecalculation.h"

#include "survey/AzimuthFit.h"
#include "survey/AzimuthWrap.h"
#include "survey/KestrixDoc.h"
#include "survey/QualityControl.h"
#include "survey/ReferenceField.h"
#include "survey/Trajectory.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace survey {

namespace {

template <typename T>
bool SameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// The wrap terms' sum after readings `changed` went (`sign` -1) or came
// back (+1), when the wrap rule decides on it as it did last time; none when
// it decides otherwise. A wrapped azimuth is its own term.
std::optional<WrapTermSum> WrapsAsBefore(const CKestrixDoc& doc, std::span<const RemovedObservation> changed, int sign)
{
    double terms = 0.0;
    for (const RemovedObservation& reading : changed)
        terms += WrapTerm(reading.observation.CalcAzMag);
    WrapTermSum kept = Changed(doc.m_wrapTerms, terms, sign * static_cast<std::int32_t>(changed.size()));
    std::optional<bool> wraps = kept.count == doc.m_nObs ? WrapDecision(kept) : std::nullopt;
    if (!wraps) {
        // Too near the rule's edge: the sum CalcAzimuth would make, to the bit.
        double sum = 0.0;
        for (int i = 0; i < doc.m_nObs; ++i)
            sum += WrapTerm(doc.m_pObs[i].CalcAzMag);
        kept = SummedInOrder(sum, doc.m_nObs);
        wraps = WrapsAzimuths(sum, doc.m_nObs);
    }
    if (*wraps != doc.m_bAzimuthsWrapped)
        return std::nullopt;
    return kept;
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

// Closes up `values`, one per reading of the table before `removed` went, as
// the table closed up.
template <typename T>
void CloseUp(std::vector<T>& values, std::span<const RemovedObservation> removed)
{
    const std::size_t before = values.size();
    auto kept = static_cast<std::size_t>(removed.front().index);
    for (std::size_t k = 0; k < removed.size(); ++k) {
        const auto from = static_cast<std::size_t>(removed[k].index) + 1;
        const std::size_t to = k + 1 < removed.size() ? static_cast<std::size_t>(removed[k + 1].index) : before;
        std::copy(values.begin() + static_cast<std::ptrdiff_t>(from), values.begin() + static_cast<std::ptrdiff_t>(to),
                  values.begin() + static_cast<std::ptrdiff_t>(kept));
        kept += to - from;
    }
    values.resize(kept);
}

// Opens up `values`, one per reading of the table before `restored` came
// back, as the table opened up; a restored reading's value is valueOf(it).
template <typename T, typename ValueOf>
void OpenUp(std::vector<T>& values, std::span<const RemovedObservation> restored, ValueOf valueOf)
{
    std::size_t end = values.size(); // the values not moved yet are values[0 .. end)
    values.resize(end + restored.size());
    for (std::size_t k = restored.size(); k-- > 0;) {
        const auto at = static_cast<std::size_t>(restored[k].index);
        const std::size_t from = at - k;
        std::copy_backward(values.begin() + static_cast<std::ptrdiff_t>(from),
                           values.begin() + static_cast<std::ptrdiff_t>(end),
                           values.begin() + static_cast<std::ptrdiff_t>(end + k + 1));
        values[at] = valueOf(restored[k].observation);
        end = from;
    }
}

// The kept steps were worked out with the table traversed from its first
// reading; they serve after readings went or came back only when the table
// is traversed so both before and after (a table whose last depth is
// shallower than its first is traversed from its last reading).
bool TraversedForward(double firstDepth, double lastDepth) { return !(lastDepth < firstDepth); }

// Whether positions may be stepped on after `removed` went from a table of
// `largerCount` readings.
bool StepsOnAfterRemoval(const CKestrixDoc& doc, std::span<const RemovedObservation> removed, std::int32_t largerCount)
{
    if (doc.m_nObs == 0 || TraversesBackwards(doc))
        return false;
    const double first = removed.front().index == 0 ? removed.front().observation.Depth : doc.m_pObs[0].Depth;
    const double last = removed.back().index == largerCount - 1 ? removed.back().observation.Depth
                                                                : doc.m_pObs[doc.m_nObs - 1].Depth;
    return TraversedForward(first, last);
}

// Whether positions may be stepped on after `restored` came back.
bool StepsOnAfterRestore(const CKestrixDoc& doc, std::span<const RemovedObservation> restored)
{
    if (TraversesBackwards(doc))
        return false;
    // The first and last readings of the table before they came back.
    std::int32_t first = 0;
    for (std::size_t k = 0; k < restored.size() && restored[k].index == first; ++k)
        ++first;
    std::int32_t last = doc.m_nObs - 1;
    for (std::size_t k = restored.size(); k > 0 && restored[k - 1].index == last; --k)
        --last;
    return first <= last && TraversedForward(doc.m_pObs[first].Depth, doc.m_pObs[last].Depth);
}

// The reference field and the views, told that only `spliced` went (or came
// back, `restored`).
void Finish(CKestrixDoc& doc, std::span<const RemovedObservation> spliced, bool restored)
{
    CalcReferenceField(doc);
    doc.m_lastSplice.revision = doc.Revision() + 1; // the revision UpdateAllViews makes
    doc.m_lastSplice.restored = restored;
    doc.m_lastSplice.indices.clear();
    for (const RemovedObservation& reading : spliced)
        doc.m_lastSplice.indices.push_back(reading.index);
    doc.UpdateAllViews();
}

} // namespace

bool RecalculateAfterRemoval(CKestrixDoc& doc, std::span<const RemovedObservation> removed, bool refit)
{
    const auto before = static_cast<std::size_t>(doc.m_nObs) + removed.size();
    if (removed.empty() || doc.m_QualityValues.size() != before || doc.m_PositionSteps.size() != before)
        return false;
    const std::optional<WrapTermSum> wrapTerms = WrapsAsBefore(doc, removed, -1);
    if (!wrapTerms || (refit && !RefitsAsBefore(doc)))
        return false;
    doc.m_wrapTerms = *wrapTerms;
    CloseUp(doc.m_QualityValues, removed);
    CloseUp(doc.m_PositionSteps, removed);
    if (StepsOnAfterRemoval(doc, removed, static_cast<std::int32_t>(before))) {
        // The reading after each gap steps from another reading now.
        std::vector<std::int32_t> stale;
        for (std::size_t k = 0; k < removed.size(); ++k) {
            const std::int32_t after = removed[k].index - static_cast<std::int32_t>(k);
            if (stale.empty() || stale.back() != after)
                stale.push_back(after);
        }
        RestepPositions(doc, stale);
    } else {
        CalcPositions(doc);
    }
    Finish(doc, removed, false);
    return true;
}

bool RecalculateAfterRestore(CKestrixDoc& doc, std::span<const RemovedObservation> restored)
{
    const auto now = static_cast<std::size_t>(doc.m_nObs);
    if (restored.empty() || doc.m_QualityValues.size() + restored.size() != now
        || doc.m_PositionSteps.size() + restored.size() != now)
        return false;
    const std::optional<WrapTermSum> wrapTerms = WrapsAsBefore(doc, restored, 1);
    if (!wrapTerms)
        return false;
    doc.m_wrapTerms = *wrapTerms;
    // The restored readings hold what the recalculation before they went gave them.
    OpenUp(doc.m_QualityValues, restored, QualityOf);
    OpenUp(doc.m_PositionSteps, restored, [](const Observation&) { return PositionStep{}; });
    if (StepsOnAfterRestore(doc, restored)) {
        // A restored reading and the one after it step from other readings than before.
        std::vector<std::int32_t> stale;
        for (const RemovedObservation& back : restored) {
            for (const std::int32_t n : {back.index, back.index + 1}) {
                if (n < doc.m_nObs && (stale.empty() || stale.back() < n))
                    stale.push_back(n);
            }
        }
        RestepPositions(doc, stale);
    } else {
        CalcPositions(doc);
    }
    Finish(doc, restored, true);
    return true;
}

} // namespace survey
