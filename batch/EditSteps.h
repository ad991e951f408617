#pragma once

#include <iosfwd>

namespace survey {
class CKestrixDoc;
}
struct SurveyOptions;

// Makes the editing options of `options` on `doc` in the order given, as the
// edits a user makes in the windows, and leaves everything computed after the
// last of them. Exit status: 0 done; 1 an edits file that is malformed or does
// not fit the survey ("FILE:LINE: reason" on `err`), or a declination from the
// model where it gives none; 2 another option that could not be applied. On a failure the survey is left half edited: the
// caller writes nothing.
int ApplyEditSteps(survey::CKestrixDoc& doc, const SurveyOptions& options, std::ostream& err);
