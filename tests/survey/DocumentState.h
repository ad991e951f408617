#pragma once

#include "survey/KestrixDoc.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

// Everything a survey document holds, copied, so that two moments can be
// compared to the last bit (NaN included).
struct DocumentState {
    explicit DocumentState(const survey::CKestrixDoc& doc)
        : scalars{doc.m_strFilePath, doc.m_bDeleteMode, doc.m_bControlMode, doc.m_nControlPoints, doc.m_dCoef,
              doc.m_nDegree, doc.m_nCoef, doc.m_dScale, doc.m_nObs, doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight,
              doc.m_dDeclination, doc.m_nRollAdjust, doc.m_bFitLocal, doc.m_fit, doc.m_fitSpan, doc.m_site,
              doc.m_trajectory, doc.m_holeName},
          controlPoints(doc.m_ControlPoints.begin(), doc.m_ControlPoints.begin() + doc.m_nControlPoints),
          observations(doc.m_pObs.get(), doc.m_pObs.get() + doc.m_nObs),
          quality(doc.m_QualityValues),
          steps(doc.m_PositionSteps),
          deleted(doc.m_DeletedReadings)
    {
    }

    // The scalar members, in a tuple-like record that compares field by field.
    struct Scalars {
        std::string path;
        bool deleteMode, controlMode;
        std::int32_t nControlPoints;
        std::array<double, 5> coef;
        std::int32_t degree, nCoef;
        double scale;
        std::int32_t nObs;
        double easting, northing, height, declination;
        std::int32_t roll;
        bool local;
        survey::OrthogonalFit fit;
        survey::FitSpan span;
        survey::Site site;
        survey::TrajectoryMethod trajectory;
        std::string holeName;
    } scalars;
    std::vector<survey::ControlPoint> controlPoints;
    std::vector<survey::Observation> observations;
    std::vector<survey::QualityValues> quality;
    std::vector<survey::PositionStep> steps;
    std::vector<survey::DeletedReading> deleted;
};

namespace document_state {

template <typename T>
bool SameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

template <typename T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), sizeof(T) * a.size()) == 0);
}

} // namespace document_state

// The first member in which `a` and `b` differ, or "" when they hold the same
// bits everywhere.
inline std::string FirstDifference(const DocumentState& a, const DocumentState& b)
{
    using document_state::SameBits;
    const auto& x = a.scalars;
    const auto& y = b.scalars;
    const std::pair<bool, const char*> checks[] = {
        {x.path == y.path, "m_strFilePath"},
        {x.deleteMode == y.deleteMode && x.controlMode == y.controlMode, "the editing modes"},
        {x.nControlPoints == y.nControlPoints && SameBits(a.controlPoints, b.controlPoints), "the control points"},
        {SameBits(x.coef, y.coef), "m_dCoef"},
        {x.degree == y.degree, "m_nDegree"},
        {x.nCoef == y.nCoef, "m_nCoef"},
        {SameBits(x.scale, y.scale), "m_dScale"},
        {x.nObs == y.nObs && SameBits(a.observations, b.observations), "the observations"},
        {SameBits(std::array{x.easting, x.northing, x.height, x.declination},
                  std::array{y.easting, y.northing, y.height, y.declination}),
         "the collar"},
        {x.roll == y.roll, "m_nRollAdjust"},
        {x.local == y.local, "m_bFitLocal"},
        {x.fit.nTerms == y.fit.nTerms && SameBits(x.fit.b, y.fit.b) && SameBits(x.fit.alpha, y.fit.alpha)
             && SameBits(x.fit.beta, y.fit.beta),
         "m_fit"},
        {SameBits(x.span, y.span), "m_fitSpan"},
        {x.site == y.site && x.trajectory == y.trajectory, "the site or trajectory"},
        {x.holeName == y.holeName, "the hole's name"},
        {SameBits(a.quality, b.quality), "m_QualityValues"},
        {SameBits(a.steps, b.steps), "m_PositionSteps"},
        {a.deleted.size() == b.deleted.size()
             && std::equal(a.deleted.begin(), a.deleted.end(), b.deleted.begin(),
                           [](const auto& p, const auto& q) { return SameBits(p.depth, q.depth) && p.occurrence == q.occurrence; }),
         "m_DeletedReadings"},
    };
    for (const auto& [same, name] : checks)
        if (!same)
            return name;
    return "";
}
