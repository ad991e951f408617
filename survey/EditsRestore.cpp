#include "survey/EditsRestore.h"

#include "survey/HoleName.h"
#include "survey/KestrixDoc.h"
#include "survey/ReadingsAtDepths.h"
#include "textio/NumberText.h"

namespace survey {
namespace {

void AppendCount(std::string& summary, std::size_t count, const char* one, const char* many)
{
    if (count == 0)
        return;
    if (!summary.empty())
        summary += ", ";
    textio::AppendFormat(summary, "%zu %s", count, count == 1 ? one : many);
}

void AppendSetting(std::string& summary, const std::string& setting)
{
    if (!summary.empty())
        summary += ", ";
    summary += setting;
}

std::string Summary(const CKestrixDoc& before, const ResolvedEdits& edits)
{
    std::string summary;
    AppendCount(summary, edits.deletions.size(), "deletion", "deletions");
    AppendCount(summary, edits.controlPoints.size(), "control point", "control points");
    if (edits.degree && *edits.degree != before.m_nDegree)
        AppendSetting(summary, textio::Format("degree %d", *edits.degree));
    if (edits.rollAdjustment && *edits.rollAdjustment != before.m_nRollAdjust)
        AppendSetting(summary, textio::Format("roll %d", *edits.rollAdjustment));
    if (edits.fitLocal && !before.m_bFitLocal)
        AppendSetting(summary, "local fit");
    if (edits.site && *edits.site != before.m_site)
        AppendSetting(summary, "site");
    if (edits.trajectory && *edits.trajectory != before.m_trajectory)
        AppendSetting(summary, "trajectory " + std::string(TrajectoryMethodText(*edits.trajectory)));
    if (edits.holeName && *edits.holeName != before.m_holeName)
        AppendSetting(summary, "name " + *edits.holeName);
    return summary.empty() ? "no changes" : summary;
}

} // namespace

SurveyEdits EditsOf(const CKestrixDoc& doc)
{
    SurveyEdits edits;
    for (const DeletedReading& deleted : doc.m_DeletedReadings)
        edits.deletions.push_back({deleted.depth, deleted.occurrence, 0});
    for (std::int32_t i = 0; i < doc.m_nControlPoints; ++i)
        edits.controlPoints.push_back({doc.m_ControlPoints[static_cast<std::size_t>(i)], 0});
    edits.degree = doc.m_nDegree;
    edits.rollAdjustment = doc.m_nRollAdjust;
    edits.fitLocal = doc.m_bFitLocal;
    edits.site = doc.m_site;
    // Average angle is every survey's default, and a version 1 file says nothing else.
    if (doc.m_trajectory != TrajectoryMethod::AverageAngle)
        edits.trajectory = doc.m_trajectory;
    if (!doc.m_holeName.empty())
        edits.holeName = doc.m_holeName;
    return edits;
}

std::variant<RestoredEdits, EditsFault> RestoreEdits(CKestrixDoc& doc, const SurveyEdits& edits)
{
    ResolvedEdits resolved;
    std::vector<double> depths;
    depths.reserve(edits.deletions.size());
    for (const SurveyEdits::Deletion& deletion : edits.deletions)
        depths.push_back(deletion.depth);
    ReadingsAtDepths readings(doc, depths);
    resolved.deletions.reserve(edits.deletions.size());
    for (const SurveyEdits::Deletion& deletion : edits.deletions) {
        const std::int32_t index = readings.Find(deletion.depth, deletion.occurrence);
        if (index < 0) {
            const std::string depth = EditsDepthText(deletion.depth);
            return EditsFault{deletion.line, deletion.occurrence == 1
                                                 ? "no reading at depth " + depth
                                                 : textio::Format("no reading number %d at depth %s",
                                                                  deletion.occurrence, depth.c_str())};
        }
        readings.Remove(deletion.depth, index);
        resolved.deletions.push_back(index);
    }

    const std::size_t room = static_cast<std::size_t>(CKestrixDoc::kMaxControlPoints - doc.m_nControlPoints);
    if (edits.controlPoints.size() > room)
        return EditsFault{edits.controlPoints[room].line,
                          textio::Format("more than %d control points", CKestrixDoc::kMaxControlPoints)};
    for (const SurveyEdits::Point& point : edits.controlPoints)
        resolved.controlPoints.push_back(point.point);

    // Read edits were checked line by line; edits made in code are checked here.
    if (edits.degree && !IsFitDegree(*edits.degree))
        return EditsFault{0, kDegreeUsage};
    if (edits.rollAdjustment && !IsRollAdjustment(*edits.rollAdjustment))
        return EditsFault{0, kRollUsage};
    resolved.degree = edits.degree;
    resolved.rollAdjustment = edits.rollAdjustment;
    resolved.fitLocal = edits.fitLocal;
    if (edits.site.declinationFrom == Site::DeclinationFrom::Model) {
        const SiteReference reference = ReferenceAt(edits.site, doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight);
        if (!reference.SurveyDeclination())
            return EditsFault{edits.declinationLine, "declination model: " + reference.problem};
    }
    if (!edits.site.IsEmpty())
        resolved.site = edits.site;
    resolved.trajectory = edits.trajectory;
    if (edits.holeName) {
        if (std::string problem = HoleNameProblem(*edits.holeName); !problem.empty())
            return EditsFault{edits.holeNameLine, problem};
        resolved.holeName = edits.holeName;
    }

    std::string summary = Summary(doc, resolved);
    return RestoredEdits{ApplyRecorded(doc, std::move(resolved)), std::move(summary)};
}

} // namespace survey
