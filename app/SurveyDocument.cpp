#include "app/SurveyDocument.h"

#include "app/ChildFrame.h"
#include "app/DocManager.h"
#include "app/DocTemplate.h"
#include "app/KestrixApp.h"

#include <QFileInfo>
#include <algorithm>

namespace {
const QString kNotLoaded = QStringLiteral(" (not loaded)");
} // namespace

SurveyDocument::SurveyDocument(CKestrixApp& app, CDocManager& manager, QString path,
                               QString canonicalPath)
    : m_app(app), m_manager(manager), m_path(std::move(path)),
      m_canonicalPath(std::move(canonicalPath)), m_title(QFileInfo(m_path).fileName())
{
    m_doc.SetHost(this);
}

SurveyDocument::~SurveyDocument() { m_doc.SetHost(nullptr); }

void SurveyDocument::AddFrame(CChildFrame* frame)
{
    m_frames.push_back(frame);
    UpdateFrameTitles();
}

void SurveyDocument::RemoveFrame(CChildFrame* frame)
{
    const auto found = std::find(m_frames.begin(), m_frames.end(), frame);
    if (found == m_frames.end())
        return;
    m_frames.erase(found);
    if (m_frames.empty()) {
        m_manager.CloseDocument(this, frame);
        return;
    }
    UpdateFrameTitles();
}

void SurveyDocument::CloseAllFrames()
{
    const std::vector<CChildFrame*> frames = m_frames;
    for (CChildFrame* frame : frames)
        frame->close();
}

void SurveyDocument::UpdateAllViews()
{
    for (CChildFrame* frame : m_frames) {
        if (QWidget* view = frame->widget())
            view->update();
    }
}

void SurveyDocument::OpenPlotWindows()
{
    for (CDocTemplate* plot : {m_app.m_pInclTemplate, m_app.m_pAzTemplate, m_app.m_pMagTemplate}) {
        if (!plot)
            continue;
        if (CChildFrame* frame = m_app.CreateFrame(*plot, *this))
            frame->show();
    }
}

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
    const std::size_t count = m_frames.size();
    const QString mark = m_readOnly ? kNotLoaded : QString();
    for (std::size_t i = 0; i < count; ++i) {
        m_frames[i]->setWindowTitle(count == 1 ? m_title + mark
                                               : QStringLiteral("%1:%2%3").arg(m_title).arg(i + 1).arg(mark));
    }
}
