#pragma once

#include "batch/PlotRenderer.h"

#include <iosfwd>

struct SurveyOptions;

// Runs export, dump, listing, edits, qc, path or plot (drawn by `plot`). Exit
// status: 0 done (a load over the observation limit only warns), 1 the load,
// an edits file or the file written failed or plot is not available, 2
// another editing option could not be applied.
int RunSurveyCommand(const SurveyOptions& options, std::ostream& out, std::ostream& err, PlotRenderer plot = nullptr);
