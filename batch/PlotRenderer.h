#pragma once

#include <iosfwd>

namespace survey {
class CKestrixDoc;
} // namespace survey

struct SurveyOptions;

// Draws the picture that kestrix-batch plot asks for (options.plotView,
// plotWidth, plotHeight, outputPath) of the edited survey `doc`: exit status
// 0, or 1 with the message on `err`. Only kestrix-batch-plot, the Qt program
// that kestrix-batch hands plot to, has one.
using PlotRenderer = int (*)(survey::CKestrixDoc& doc, const SurveyOptions& options, std::ostream& out,
                             std::ostream& err);
