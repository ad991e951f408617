#include "app/SurveyDocument.h"

#include "app/ChildFrame.h"
#include "views/CQcView.h"

#include <QFileInfo>
#include <algorithm>

namespace {
const QString kNotLoaded = QStringLiteral(" (not loaded)");
} // namespace

SurveyDocument::SurveyDocument(QString path, QString canonicalPath)
    : m_path(std::move(path)), m_canonicalPath(std::move(canonicalPath)), m_title(QFileInfo(m_path).fileName())
{
    m_doc.SetHost(this);
}

SurveyDocument::~SurveyDocument() { m_doc.SetHost(nullptr); }

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

bool SurveyDocument::ShowsQualityPlot() const
{
    return std::any_of(m_frames.begin(), m_frames.end(), [](const QPointer<CChildFrame>& frame) {
        return frame && qobject_cast<const CQcView*>(frame->widget());
    });
}

void SurveyDocument::Apply(const survey::EditOperation& op)
{
    if (!m_readOnly)
        m_doc.Apply(op);
}

void SurveyDocument::UpdateAllViews()
{
    for (CChildFrame* frame : Frames()) {
        if (QWidget* view = frame->widget())
            view->update();
    }
}

void SurveyDocument::OpenPlotWindows() { emit plotWindowsWanted(this); }

QString SurveyDocument::Caption() const
{
    return m_readOnly ? m_title + kNotLoaded : m_title;
}

void SurveyDocument::MarkLoadFailed()
{
    m_readOnly = true;
    UpdateFrameTitles();
}

// A survey with one window shows its title alone; with more, every window
// adds its number: "demo.txt:1" to "demo.txt:4"; a read-only survey's
// captions end in "(not loaded)".
void SurveyDocument::UpdateFrameTitles()
{
    const std::vector<CChildFrame*> frames = Frames();
    const std::size_t count = frames.size();
    const QString mark = m_readOnly ? kNotLoaded : QString();
    for (std::size_t i = 0; i < count; ++i) {
        frames[i]->setWindowTitle(count == 1 ? m_title + mark
                                             : QStringLiteral("%1:%2%3").arg(m_title).arg(i + 1).arg(mark));
    }
}
