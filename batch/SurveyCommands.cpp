#include "batch/SurveyCommands.h"

#include "batch/BatchOptions.h"
#include "batch/ControlPointsFile.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/ListingRows.h"
#include "survey/MessageSink.h"
#include "survey/XyzExport.h"
#include "textio/NumberText.h"

#include <charconv>
#include <fstream>
#include <ostream>
#include <sys/stat.h>

using namespace survey;

namespace {

class StreamSink : public MessageSink {
public:
    explicit StreamSink(std::ostream& err) : m_err(err) {}
    void ShowMessage(const std::string& text) override { m_err << text << '\n'; }

private:
    std::ostream& m_err;
};

int DeleteDepth(CKestrixDoc& doc, double depth, std::ostream& err)
{
    for (int i = 0; i < doc.m_nObs; ++i) {
        if (doc.m_pObs[i].Depth == depth) {
            doc.DeleteObservation(i);
            return 0;
        }
    }
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, depth);
    err << "kestrix-batch: no observation at depth " << std::string_view(text, written.ptr - text) << '\n';
    return 2;
}

int AddControlPoints(CKestrixDoc& doc, const std::string& path, std::ostream& err)
{
    std::ifstream in(path, std::ios::binary);
    // A folder opens like a file on Linux but reads as nothing at all.
    struct stat info {};
    if (!in || stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        err << "kestrix-batch: cannot open " << path << '\n';
        return 2;
    }
    std::vector<ControlPointEntry> points;
    std::string error;
    if (!ReadControlPoints(in, path, points, error)) {
        err << "kestrix-batch: " << error << '\n';
        return 2;
    }
    for (const ControlPointEntry& point : points) {
        int x = 0, y = 0;
        ScaledControlPoint(point, doc.m_dScale, x, y);
        doc.AddControlPoint(x, y);
    }
    return 0;
}

// The editing options, in their fixed order, then one recalculation.
int ApplyEdits(CKestrixDoc& doc, const SurveyOptions& options, std::ostream& err)
{
    if (!options.HasEdits())
        return 0;
    for (const double depth : options.deleteDepths) {
        if (int status = DeleteDepth(doc, depth, err))
            return status;
    }
    if (!options.controlPointsPath.empty()) {
        if (int status = AddControlPoints(doc, options.controlPointsPath, err))
            return status;
    }
    if (options.degree)
        doc.m_nDegree = *options.degree;
    if (options.rollAdjust)
        doc.m_nRollAdjust = *options.rollAdjust;
    doc.Recalculate();
    return 0;
}

void Dump(const CKestrixDoc& doc, std::ostream& out)
{
    std::string text;
    for (int f = 0; f < 20; ++f) {
        text += kObservationFieldNames[f];
        text += f < 19 ? '\t' : '\n';
    }
    for (int i = 0; i < doc.m_nObs; ++i) {
        for (int f = 0; f < 20; ++f) {
            textio::AppendFormat(text, "%.17g", FieldOf(doc.m_pObs[i], f));
            text += f < 19 ? '\t' : '\n';
        }
        if (text.size() > 1 << 16) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

} // namespace

int RunSurveyCommand(const SurveyOptions& options, std::ostream& out, std::ostream& err)
{
    FileLineSource source(options.rawPath);
    if (!source.IsOpen()) {
        err << textio::Format("Failed to open\n  %s", options.rawPath.c_str()) << '\n';
        return 1;
    }
    CKestrixDoc doc;
    StreamSink sink(err);
    const LoadResult loaded = doc.LoadRawSurvey(options.rawPath, source, sink);
    if (loaded != LoadResult::Loaded && loaded != LoadResult::LoadedOverLimit)
        return 1;
    if (int status = ApplyEdits(doc, options, err))
        return status;

    if (options.command == "dump") {
        Dump(doc, out);
    } else if (options.command == "listing") {
        out << ListingAsText(BuildListing(doc));
    } else {
        const std::string path =
            options.outputPath.empty() ? DefaultExportPath(options.rawPath) : options.outputPath;
        const ExportResult result = WriteXyzFile(doc, path);
        if (result != ExportResult::Ok) {
            err << ExportFailureMessage(result, path) << '\n';
            return 1;
        }
        out << path << '\n';
    }
    out.flush();
    return out ? 0 : 1;
}
