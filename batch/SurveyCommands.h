#pragma once

#include <iosfwd>

struct SurveyOptions;

// Runs export, dump or listing. Exit status: 0 done (a load over the
// observation limit only warns), 1 the load or the export failed, 2 an
// editing option could not be applied.
int RunSurveyCommand(const SurveyOptions& options, std::ostream& out, std::ostream& err);
