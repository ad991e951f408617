#pragma once

#include "survey/SpikeFinder.h"
#include "survey/XyzExport.h"

#include <functional>
#include <string>
#include <string_view>

namespace survey {

class CKestrixDoc;

// The two forms of the results file: every reading's raw and computed values.
enum class ResultsFormat { Csv, Las };

// "CSV" or "LAS", as messages name the file.
std::string ResultsFormatName(ResultsFormat format);

// The format that the extension of `path` names (".csv" or ".las", in any
// case); `otherwise` for any other extension or none.
ResultsFormat ResultsFormatOf(const std::string& path, ResultsFormat otherwise);

// The results file's default path beside the survey: the survey's extension
// replaced by ".csv" or ".las" ("hole7.txt" gives "hole7.csv"). A survey that
// already has that extension gets "-results" before it ("hole7.csv" gives
// "hole7-results.csv"), so the default never names the survey itself.
std::string DefaultResultsPath(const std::string& surveyPath, ResultsFormat format);

// Writes one row per reading of `doc`, in table order, to `path`: depth, the
// raw readings, inclination, roll, measured and used azimuth, the field's
// components, total field, dip, total gravity, the flags of the spike finder
// set by `spikes`, East, North, height and vertical depth below the collar.
// CSV: a header line naming each column with its unit, numbers in the
// shortest text that reads back exactly. LAS 2.0: the same values as curves,
// the collar and both declinations as parameters, a value that is not a
// number as the NULL value. Whole or not at all, as WriteXyzFile writes, and
// stopped by `progress` as it is.
ExportResult WriteResultsFile(const CKestrixDoc& doc, const std::string& path, ResultsFormat format,
                              const SpikeSettings& spikes, textio::Progress* progress = nullptr);

// The hole's path as drillers count it, CSV with a header line, "\n" line
// ends, in table order: depth, inclination from the vertical (0 straight
// down), grid azimuth in [0, 360), East, North, vertical depth below the
// collar, and the dogleg severity in degrees per 30 m from the reading before
// (0 for the first; "nan" for a reading at the depth of the one before).
// Given to `sink` in pieces.
void WriteDrillersPath(const CKestrixDoc& doc, const std::function<void(std::string_view)>& sink);

} // namespace survey
