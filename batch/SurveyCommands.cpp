#include "batch/SurveyCommands.h"

#include "batch/BatchOptions.h"
#include "batch/ControlPointsFile.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/ListingRows.h"
#include "survey/MessageSink.h"
#include "survey/XyzExport.h"
#include "textio/FileFacts.h"
#include "textio/NumberText.h"

#include <charconv>
#include <fstream>
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

// Applies the edits of one survey, remembering whether the last of them
// ended with a recalculation.
class Editor {
public:
    explicit Editor(CKestrixDoc& doc) : m_doc(doc) {}

    void Apply(const EditOperation& op)
    {
        m_doc.Apply(op);
        m_recalculated = Recalculates(op);
    }
    // What is computed follows every edit made.
    void Finish()
    {
        if (!m_recalculated)
            m_doc.Recalculate();
    }
    CKestrixDoc& Doc() { return m_doc; }

private:
    CKestrixDoc& m_doc;
    bool m_recalculated = true; // a load ends with a recalculation
};

int DeleteDepth(Editor& editor, double depth, std::ostream& err)
{
    const CKestrixDoc& doc = editor.Doc();
    for (int i = 0; i < doc.m_nObs; ++i) {
        if (doc.m_pObs[i].Depth == depth) {
            editor.Apply(edit::DeleteObservation{i});
            return 0;
        }
    }
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, depth);
    err << "kestrix-batch: no observation at depth " << std::string_view(text, written.ptr - text) << '\n';
    return 2;
}

int AddControlPoints(Editor& editor, const std::string& path, std::ostream& err)
{
    std::ifstream in(path, std::ios::binary);
    // A folder opens like a file on Linux but reads as nothing at all.
    const std::optional<textio::FileFacts> facts = textio::FactsOf(path);
    if (!in || !facts || facts->folder) {
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
        ScaledControlPoint(point, editor.Doc().m_dScale, x, y);
        editor.Apply(edit::AddControlPoint{{x, y}});
    }
    return 0;
}

// The editing options, in their fixed order, as the edits a user makes in
// the windows; the survey is recalculated once they are all made.
int ApplyEdits(CKestrixDoc& doc, const SurveyOptions& options, std::ostream& err)
{
    Editor editor(doc);
    for (const double depth : options.deleteDepths) {
        if (int status = DeleteDepth(editor, depth, err))
            return status;
    }
    if (!options.controlPointsPath.empty()) {
        if (int status = AddControlPoints(editor, options.controlPointsPath, err))
            return status;
    }
    if (options.degree)
        editor.Apply(edit::SetFitDegree{*options.degree});
    if (options.rollAdjust)
        editor.Apply(edit::SetRollAdjustment{*options.rollAdjust});
    editor.Finish();
    return 0;
}

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
