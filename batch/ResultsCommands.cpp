#include "batch/ResultsCommands.h"

#include "batch/BatchOptions.h"
#include "survey/ResultsExport.h"
#include "textio/TerminalProgress.h"

#include <ostream>

using namespace survey;

bool ExportsResults(const SurveyOptions& options)
{
    return options.exportOptions.IsResultsFile();
}

int ExportResults(const CKestrixDoc& doc, const SurveyOptions& options, std::ostream& out, std::ostream& err)
{
    const ResultsFormat format =
        options.exportOptions.format == ExportFormat::Csv ? ResultsFormat::Csv : ResultsFormat::Las;
    const std::string path =
        options.outputPath.empty() ? DefaultResultsPath(options.rawPath, format) : options.outputPath;
    textio::TerminalProgress progress("kestrix-batch: writing " + path);
    const ExportResult result = WriteResultsFile(doc, path, format, options.spikes, &progress);
    if (result == ExportResult::Cancelled)
        return kStoppedStatus;
    if (result != ExportResult::Ok) {
        err << ExportFailureMessage(result, path, ResultsFormatName(format)) << '\n';
        return 1;
    }
    out << path << '\n';
    return 0;
}

void PrintDrillersPath(const CKestrixDoc& doc, std::ostream& out)
{
    WriteDrillersPath(doc, [&out](std::string_view text) { out << text; });
}
