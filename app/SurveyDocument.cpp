#include "app/SurveyDocument.h"

#include "app/ChildFrame.h"
#include "app/EditCommand.h"
#include "survey/EditsRestore.h"
#include "views/CKestrixView.h"
#include "views/CQcView.h"

#include <QAbstractScrollArea>
#include <QFileInfo>
#include <algorithm>

namespace {
QString NotLoaded() { return SurveyDocument::tr(" (not loaded)"); }
const QString kUnsaved = QStringLiteral("*");
} // namespace

SurveyDocument::SurveyDocument(QString path, QString canonicalPath)
    : m_path(std::move(path)), m_canonicalPath(std::move(canonicalPath)), m_title(QFileInfo(m_path).fileName())
{
    m_doc.SetHost(this);
    connect(&m_history, &QUndoStack::cleanChanged, this, &SurveyDocument::UpdateFrameTitles);
}

SurveyDocument::~SurveyDocument()
{
    // The history signals as it empties; this document is half gone by then.
    disconnect(&m_history, nullptr, this, nullptr);
    m_doc.SetHost(nullptr);
}

std::vector<CChildFrame*> SurveyDocument::Frames() const
{
    std::vector<CChildFrame*> frames;
    for (const QPointer<CChildFrame>& frame : m_frames) {
        if (frame)
            frames.push_back(frame);
    }
    return frames;
}

void SurveyDocument::AddFrame(CChildFrame* frame)
{
    m_frames.emplace_back(frame);
    connect(frame, &CChildFrame::closed, this, &SurveyDocument::OnFrameClosed);
    UpdateFrameTitles();
}

void SurveyDocument::OnFrameClosed(CChildFrame* frame)
{
    const auto found = std::find(m_frames.begin(), m_frames.end(), frame);
    if (found == m_frames.end())
        return; // closed before
    m_frames.erase(found);
    if (Frames().empty())
        emit lastFrameClosed(this, frame);
    else
        UpdateFrameTitles();
}

void SurveyDocument::CloseAllFrames()
{
    m_closing = true;
    for (CChildFrame* frame : Frames())
        frame->close();
}

void SurveyDocument::OrderFrames(const std::function<int(const CChildFrame*)>& rank)
{
    std::erase_if(m_frames, [](const QPointer<CChildFrame>& frame) { return frame.isNull(); });
    std::stable_sort(m_frames.begin(), m_frames.end(),
                     [&](const QPointer<CChildFrame>& a, const QPointer<CChildFrame>& b) { return rank(a) < rank(b); });
    UpdateFrameTitles();
}

CKestrixView* SurveyDocument::Listing() const
{
    for (const QPointer<CChildFrame>& frame : m_frames) {
        if (auto* listing = frame ? qobject_cast<CKestrixView*>(frame->widget()) : nullptr)
            return listing;
    }
    return nullptr;
}

bool SurveyDocument::ShowsQualityPlot() const { return ShowsView(CQcView::staticMetaObject); }

bool SurveyDocument::ShowsView(const QMetaObject& viewClass) const
{
    return std::any_of(m_frames.begin(), m_frames.end(), [&](const QPointer<CChildFrame>& frame) {
        return frame && frame->widget() && frame->widget()->metaObject() == &viewClass;
    });
}

bool SurveyDocument::Close()
{
    if (!ConfirmClose())
        return false;
    CloseAllFrames();
    return true;
}

void SurveyDocument::SetCloseQuestion(std::function<bool(SurveyDocument&)> question)
{
    m_closeQuestion = std::move(question);
}

bool SurveyDocument::ConfirmClose()
{
    return m_closing || !HasUnsavedEdits() || !m_closeQuestion || m_closeQuestion(*this);
}

bool SurveyDocument::MayCloseFrame(const CChildFrame* frame)
{
    const std::vector<CChildFrame*> frames = Frames();
    const bool last = frames.size() == 1 && frames.front() == frame;
    return !last || ConfirmClose();
}

void SurveyDocument::Apply(const survey::EditOperation& op)
{
    if (m_readOnly)
        return;
    if (std::optional<survey::EditRecord> record = survey::ApplyRecorded(m_doc, op)) {
        const QString name = EditName(*record);
        m_history.push(new EditCommand(m_doc, std::move(*record), name));
    }
}

std::variant<std::string, survey::EditsFault> SurveyDocument::RestoreEdits(const survey::SurveyEdits& edits)
{
    std::variant<survey::RestoredEdits, survey::EditsFault> restored = survey::RestoreEdits(m_doc, edits);
    if (auto* fault = std::get_if<survey::EditsFault>(&restored))
        return std::move(*fault);
    survey::RestoredEdits& made = std::get<survey::RestoredEdits>(restored);
    const QString name = EditName(made.record);
    m_history.push(new EditCommand(m_doc, std::move(made.record), name));
    m_history.setClean();
    return std::move(made.summary);
}

survey::LoadResult SurveyDocument::Load(const std::string& path, survey::LineSource& source, survey::MessageSink& sink,
                                        textio::Progress* progress)
{
    return m_doc.LoadRawSurvey(path, source, sink, progress);
}

void SurveyDocument::UpdateAllViews()
{
    emit viewsUpdated();
    for (CChildFrame* frame : Frames()) {
        QWidget* view = frame->widget();
        // A scroll area draws in its viewport: updating the area alone left
        // the listing showing the numbers before an edit made in a plot.
        if (auto* area = qobject_cast<QAbstractScrollArea*>(view))
            area->viewport()->update();
        else if (view)
            view->update();
    }
}

void SurveyDocument::OpenPlotWindows() { emit plotWindowsWanted(this); }

QString SurveyDocument::Caption() const
{
    return m_title + (HasUnsavedEdits() ? kUnsaved : QString()) + (m_readOnly ? NotLoaded() : QString());
}

void SurveyDocument::MarkLoadFailed()
{
    m_readOnly = true;
    UpdateFrameTitles();
}

// A survey with one window shows its title alone; with more, every window
// adds its number: "demo.txt:1" to "demo.txt:4". Unsaved edits mark the
// title, "demo.txt*:1"; a read-only survey's captions end in "(not loaded)".
void SurveyDocument::UpdateFrameTitles()
{
    const std::vector<CChildFrame*> frames = Frames();
    const std::size_t count = frames.size();
    const QString title = HasUnsavedEdits() ? m_title + kUnsaved : m_title;
    const QString mark = m_readOnly ? NotLoaded() : QString();
    for (std::size_t i = 0; i < count; ++i) {
        frames[i]->setWindowTitle(count == 1 ? title + mark
                                             : QStringLiteral("%1:%2%3").arg(title, QString::number(i + 1), mark));
    }
}
