#pragma once

#include <iosfwd>

struct SurveyOptions;
namespace survey {
class CKestrixDoc;
} // namespace survey

// Whether `options` asks export for a results file (--format csv or las)
// rather than the XYZ file.
bool ExportsResults(const SurveyOptions& options);

// export --format csv|las: the results file of `doc` at -o or, without it,
// beside the survey. Exit status 0, or 1 when it could not be written.
int ExportResults(const survey::CKestrixDoc& doc, const SurveyOptions& options, std::ostream& out,
                  std::ostream& err);

// path: the hole's path as drillers count it, CSV on `out`.
void PrintDrillersPath(const survey::CKestrixDoc& doc, std::ostream& out);
