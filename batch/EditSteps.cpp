#include "batch/EditSteps.h"

#include "batch/BatchOptions.h"
#include "survey/ControlPointsFile.h"
#include "survey/EditsFile.h"
#include "survey/EditRecord.h"
#include "survey/EditsRestore.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/Overloaded.h"
#include "survey/SpikeFinder.h"
#include "textio/NumberText.h"

#include <charconv>
#include <ostream>

using namespace survey;

namespace {

// Makes the edits of one survey, remembering whether the last of them ended
// with a recalculation, so that the survey is recalculated once more only
// when it did not.
class Editor {
public:
    explicit Editor(CKestrixDoc& doc) : m_doc(doc) {}

    void Apply(const EditOperation& op)
    {
        ApplyRecorded(m_doc, op); // no undo here: the record is not kept
        m_recalculated = Recalculates(op);
    }
    // Saved edits as one edit, which ends with a recalculation.
    std::optional<EditsFault> Restore(const SurveyEdits& edits)
    {
        auto restored = RestoreEdits(m_doc, edits);
        if (auto* fault = std::get_if<EditsFault>(&restored))
            return std::move(*fault);
        m_recalculated = true;
        return std::nullopt;
    }
    // What is computed follows every edit made.
    void UpToDate()
    {
        if (!m_recalculated)
            m_doc.Recalculate();
        m_recalculated = true;
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
    FileLineSource in(path); // a folder is refused; a pipe is read
    if (!in.IsOpen()) {
        err << "kestrix-batch: cannot open " << path << '\n';
        return 2;
    }
    std::vector<ControlPointEntry> points;
    std::string error;
    if (!ReadControlPoints(in, path, points, error)) {
        err << "kestrix-batch: " << error << '\n';
        return 2;
    }
    // The bound counts every point in force, from earlier files and edits too.
    const std::size_t room = static_cast<std::size_t>(CKestrixDoc::kMaxControlPoints - editor.Doc().m_nControlPoints);
    if (points.size() > room) {
        err << textio::Format("kestrix-batch: %s:%ld: more than %d control points", path.c_str(), points[room].line,
                              CKestrixDoc::kMaxControlPoints)
            << '\n';
        return 2;
    }
    for (const ControlPointEntry& point : points) {
        int x = 0, y = 0;
        ScaledControlPoint(point, editor.Doc().m_dScale, x, y);
        editor.Apply(edit::AddControlPoint{{x, y}});
    }
    return 0;
}

int ApplyEditsFile(Editor& editor, const std::string& path, std::ostream& err)
{
    const std::variant<SurveyEdits, EditsFault> read = ReadEditsFile(path);
    std::optional<EditsFault> fault;
    if (const auto* edits = std::get_if<SurveyEdits>(&read))
        fault = editor.Restore(*edits);
    else
        fault = std::get<EditsFault>(read);
    if (!fault)
        return 0;
    err << EditsFaultText(path, *fault) << '\n';
    return 1;
}

// The spike finder judges the readings left now.
void DeleteFlagged(Editor& editor, const SpikeSettings& settings)
{
    edit::DeleteObservations flagged = FlaggedReadings(editor.Doc(), settings);
    if (!flagged.indices.empty())
        editor.Apply(flagged);
}

// The site options over the site in force; a declination from the model
// where the model gives none is refused with the reason.
int ChangeSite(Editor& editor, const step::SiteChange& change, std::ostream& err)
{
    const CKestrixDoc& doc = editor.Doc();
    const Site site = change.Over(doc.m_site);
    if (site.declinationFrom == Site::DeclinationFrom::Model) {
        const SiteReference reference = ReferenceAt(site, doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight);
        if (!reference.SurveyDeclination()) {
            err << "kestrix-batch: declination model: " << reference.problem << '\n';
            return 1;
        }
    }
    editor.Apply(edit::SetSite{site});
    return 0;
}

} // namespace

int ApplyEditSteps(CKestrixDoc& doc, const SurveyOptions& options, std::ostream& err)
{
    Editor editor(doc);
    for (const EditStep& edit : options.edits) {
        const int status =
            std::visit(Overloaded{[&](const step::DeleteDepth& d) { return DeleteDepth(editor, d.depth, err); },
                                  [&](const step::ControlPoints& c) { return AddControlPoints(editor, c.path, err); },
                                  [&](const step::EditsFile& e) { return ApplyEditsFile(editor, e.path, err); },
                                  [&](const step::SiteChange& s) { return ChangeSite(editor, s, err); },
                                  [&](const step::DeleteFlagged&) {
                                      DeleteFlagged(editor, options.spikes);
                                      return 0;
                                  },
                                  [&](const EditOperation& op) {
                                      editor.Apply(op);
                                      return 0;
                                  }},
                       edit);
        if (status != 0)
            return status;
    }
    editor.UpToDate();
    return 0;
}
