#include "batch/SurveyCommands.h"

#include "batch/BatchOptions.h"
#include "batch/EditSteps.h"
#include "batch/ResultsCommands.h"
#include "geomag/BuiltInModels.h"
#include "geomag/Date.h"
#include "survey/EditsFile.h"
#include "survey/EditsRestore.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/ListingRows.h"
#include "survey/ReferenceCheck.h"
#include "survey/MessageSink.h"
#include "survey/SpikeFinder.h"
#include "survey/XyzExport.h"
#include "textio/FileFacts.h"
#include "textio/NumberText.h"
#include "textio/TerminalProgress.h"

#include <optional>
#include <ostream>

using namespace survey;

namespace {

class StreamSink : public MessageSink {
public:
    explicit StreamSink(std::ostream& err) : m_err(err) {}
    void ShowMessage(const std::string& text) override { m_err << text << '\n'; }

private:
    std::ostream& m_err;
};

// Text gathered before it goes to the output stream.
constexpr std::size_t kDumpChunk = 1 << 16;

void Dump(const CKestrixDoc& doc, std::ostream& out)
{
    const auto separator = [](int field) { return field < kObservationFieldCount - 1 ? '\t' : '\n'; };
    std::string text;
    for (int f = 0; f < kObservationFieldCount; ++f) {
        text += kObservationFieldNames[f];
        text += separator(f);
    }
    for (int i = 0; i < doc.m_nObs; ++i) {
        for (int f = 0; f < kObservationFieldCount; ++f) {
            textio::AppendFormat(text, "%.17g", FieldOf(doc.m_pObs[i], f));
            text += separator(f);
        }
        if (text.size() > kDumpChunk) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

// One line of the closing summary: a median against its tolerance.
void AppendCheck(std::string& text, const char* what, const ReferenceDifference& difference, const char* unit)
{
    textio::AppendFormat(text, "# %s: median %.6g %s, tolerance %.6g %s: %s\n", what, difference.median, unit,
                         difference.tolerance, unit, difference.Passes() ? "PASS" : "FAIL");
}

// The survey against its reference field, after the table.
std::string ReferenceSummary(const CKestrixDoc& doc, const ReferenceCheck& check)
{
    std::string text = "# reference: " + geomag::BuiltInModel(doc.m_site.model).name + " on "
                       + geomag::ToText(*doc.m_site.date) + "\n";
    AppendCheck(text, "total field - F", check.field, "nT");
    AppendCheck(text, "dip - I", check.dip, "deg");
    if (check.gravityUnit == GravityUnit::Unknown) {
        text += "# total gravity - normal gravity: not judged, the median total gravity is neither near 1 g nor "
                "near 9.8 m/s2\n";
    } else {
        AppendCheck(text, "total gravity - normal gravity", check.gravity,
                    check.gravityUnit == GravityUnit::G ? "g" : "m/s2");
    }
    return text;
}

// Every reading's quality values and whether the spike finder flags it;
// with a reference field also the model's F and I at the reading, the
// reading's differences from them and from normal gravity, and a closing
// summary of their medians.
void QualityTable(const CKestrixDoc& doc, const SpikeSettings& settings, std::ostream& out, std::ostream& err)
{
    const std::vector<std::uint8_t> flags = FindSpikes(doc.m_QualityValues, settings);
    const std::optional<ReferenceCheck> check = CheckAgainstReference(doc, ReferenceTolerances{});
    if (!check && !doc.m_site.IsEmpty() && !doc.m_siteReference.problem.empty())
        err << "kestrix-batch: no reference field: " << doc.m_siteReference.problem << '\n';
    std::string text = "depth,total_field_nT,total_gravity,dip_deg,flagged";
    text += check ? ",bref_nT,iref_deg,db_nT,ddip_deg,dg\n" : "\n";
    for (std::size_t i = 0; i < flags.size(); ++i) {
        const QualityValues& q = doc.m_QualityValues[i];
        textio::AppendFormat(text, "%.6g,%.6g,%.6g,%.6g,%d", doc.m_pObs[i].Depth, q.totalField, q.totalGravity,
                             q.dip, flags[i] != 0 ? 1 : 0);
        if (check) {
            const ReferenceReading& r = doc.m_reference.readings[i];
            textio::AppendFormat(text, ",%.6g,%.6g,%.6g,%.6g,%.6g", r.totalNt, r.inclinationDegrees,
                                 q.totalField - r.totalNt, q.dip - r.inclinationDegrees,
                                 q.totalGravity - doc.m_reference.gravity);
        }
        text += '\n';
        if (text.size() > kDumpChunk) {
            out << text;
            text.clear();
        }
    }
    if (check)
        text += ReferenceSummary(doc, *check);
    out << text;
}

// Writes the edits that bring the survey as loaded to `doc`, never over the
// survey itself. Exit status 0 or 1.
int WriteEdits(const CKestrixDoc& doc, const std::string& path, std::ostream& out, std::ostream& err)
{
    if (textio::IsSameFile(path, doc.m_strFilePath)) {
        err << "The edits file would replace the raw survey file\n  " << path << '\n';
        return 1;
    }
    const textio::SafeFileWriter::Status written = WriteEditsFile(EditsOf(doc), path);
    if (written != textio::SafeFileWriter::Status::Ok) {
        err << textio::WriteFailureMessage(written, path) << '\n';
        return 1;
    }
    out << path << '\n';
    return 0;
}

int WriteExport(const CKestrixDoc& doc, const std::string& path, const ExportOptions& options, std::ostream& out,
                std::ostream& err)
{
    textio::TerminalProgress progress("kestrix-batch: writing " + path);
    const ExportResult result = WriteXyzFile(doc, path, options, &progress);
    if (result == ExportResult::Cancelled)
        return kStoppedStatus;
    if (result != ExportResult::Ok) {
        err << ExportFailureMessage(result, path) << '\n';
        return 1;
    }
    out << path << '\n';
    if (const std::string warning = ExportWarning(doc); !warning.empty())
        err << "kestrix-batch: " << warning << '\n';
    return 0;
}

} // namespace

int RunSurveyCommand(const SurveyOptions& options, std::ostream& out, std::ostream& err, PlotRenderer plot)
{
    if (options.command == "plot" && !plot) {
        err << "kestrix-batch plot is not available: this kestrix-batch was built without the Qt programs\n";
        return 1;
    }
    FileLineSource source(options.rawPath);
    if (!source.IsOpen()) {
        err << textio::Format("Failed to open\n  %s", options.rawPath.c_str()) << '\n';
        return 1;
    }
    CKestrixDoc doc;
    StreamSink sink(err);
    textio::TerminalProgress progress("kestrix-batch: reading " + options.rawPath);
    const LoadResult loaded = doc.LoadRawSurvey(options.rawPath, source, sink, &progress);
    if (loaded == LoadResult::Cancelled)
        return kStoppedStatus;
    if (loaded != LoadResult::Loaded && loaded != LoadResult::LoadedOverLimit)
        return 1;
    if (int status = ApplyEditSteps(doc, options, err))
        return status;

    if (options.command == "dump") {
        Dump(doc, out);
    } else if (options.command == "listing") {
        out << ListingAsText(BuildListing(doc));
    } else if (options.command == "qc") {
        QualityTable(doc, options.spikes, out, err);
    } else if (options.command == "path") {
        PrintDrillersPath(doc, out);
    } else if (options.command == "plot") {
        if (int status = plot(doc, options, out, err))
            return status;
    } else if (options.command == "edits") {
        const std::string& given = options.outputPath;
        if (int status = WriteEdits(doc, given.empty() ? EditsFilePath(options.rawPath) : given, out, err))
            return status;
    } else if (ExportsResults(options)) {
        if (int status = ExportResults(doc, options, out, err))
            return status;
    } else {
        const std::string& given = options.outputPath;
        ExportOptions exportOptions = options.exportOptions;
        exportOptions.lineName = doc.m_holeName;
        if (int status = WriteExport(doc, given.empty() ? DefaultExportPath(options.rawPath) : given, exportOptions,
                                     out, err))
            return status;
    }
    return 0;
}
