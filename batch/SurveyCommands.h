#pragma once

#include <iosfwd>

struct SurveyOptions;

// Runs export, dump, listing, edits or qc. Exit status: 0 done (a load over
// the observation limit only warns), 1 the load, an edits file or the file
// written failed, 2 another editing option could not be applied.
int RunSurveyCommand(const SurveyOptions& options, std::ostream& out, std::ostream& err);
