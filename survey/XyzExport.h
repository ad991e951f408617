#pragma once

#include "survey/ExportOptions.h"

#include <functional>
#include <string>

namespace textio {
class Progress;
class ProgressTicker;
class SafeFileWriter;
} // namespace textio

namespace survey {

class CKestrixDoc;

// The export's default path: the survey's path less its last three characters,
// followed by "xyz" (a survey.txt gives survey.xyz).
std::string DefaultExportPath(const std::string& surveyPath);

// Cancelled: the progress asked to stop; nothing was written and an earlier
// file at the path stays as it was.
enum class ExportResult { Ok, OpenFailed, WriteFailed, SameFile, Cancelled };

// Writes the XYZ export file of `doc` to `path`, rows in traversal order, CR LF
// line ends, the "Li" line naming options.lineName or else the file, the components (or their anomalies) in the frame `options`
// asks for, which the header line names. An earlier file at `path` is
// replaced only once the new one is complete; on any failure it stays as it
// was. A path that names the survey's own raw survey file (under any of its
// names) is refused with SameFile. `progress`, when given, hears the rows
// written of all and may stop the export.
ExportResult WriteXyzFile(const CKestrixDoc& doc, const std::string& path, const ExportOptions& options = {},
                          textio::Progress* progress = nullptr);

// The XYZ file's first line, without its line end.
std::string XyzHeader(const ExportOptions& options);

// Writes a file of values computed from `doc` to `path` as WriteXyzFile does:
// whole or not at all, never over the survey's own raw survey file. `write`
// gives the writer the file's text, telling `rows` of each reading it wrote
// (ProgressTicker::Next(row, doc.m_nObs)), and returns false when `rows`
// asked it to stop: the export is then Cancelled.
ExportResult WriteExportFile(const CKestrixDoc& doc, const std::string& path, textio::Progress* progress,
                             const std::function<bool(textio::SafeFileWriter&, textio::ProgressTicker& rows)>& write);

// The message that tells the user of a failed export to `path`; `kind`
// names the file ("XYZ", "CSV", "LAS").
std::string ExportFailureMessage(ExportResult result, const std::string& path, const std::string& kind = "XYZ");

// What the user is told after a whole export of `doc` that holds no reading
// to model (an empty survey, every reading deleted); "" when it holds some.
std::string ExportWarning(const CKestrixDoc& doc);

} // namespace survey
