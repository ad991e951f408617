#pragma once

#include <iosfwd>

namespace survey {
class CKestrixDoc;
} // namespace survey

struct SurveyOptions;

// kestrix-batch plot's renderer (a PlotRenderer): draws the named plot view
// of `doc` without a display and writes it as PNG, SVG or PDF. Makes the Qt
// application it needs when there is none, on the offscreen platform unless
// QT_QPA_PLATFORM names another.
int RenderBatchPlot(survey::CKestrixDoc& doc, const SurveyOptions& options, std::ostream& out, std::ostream& err);
