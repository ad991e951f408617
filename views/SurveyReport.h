#pragma once

#include <QString>

namespace survey {
class CKestrixDoc;
} // namespace survey

class PlotLink;

// The pages of a survey's report: the heading page, then one page per plot kind.
int ReportPageCount();

// Writes the report of `doc` to `path` as one PDF: a heading page (the hole's
// name, date and site, then the listing's heading lines), then every plot of
// PlotKinds() over the whole hole, one per landscape page, with the
// anomalies, spike settings and section azimuth of `link` when given. The
// whole file or nothing, never over the raw survey file. Empty on success,
// else the message for the user.
QString WriteSurveyReport(const survey::CKestrixDoc& doc, const QString& path, const PlotLink* link = nullptr);
