#include "app/DocManager.h"

#include "app/ChildFrame.h"
#include "app/DocTemplate.h"
#include "app/SurveyDocument.h"

#include <algorithm>

CDocManager::CDocManager() = default;
CDocManager::~CDocManager() = default;

CDocTemplate* CDocManager::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate)
{
    m_templates.push_back(std::move(docTemplate));
    return m_templates.back().get();
}

CDocTemplate* CDocManager::FirstTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

SurveyDocument* CDocManager::FindOpen(const QString& canonicalPath) const
{
    const auto found = std::find_if(m_open.begin(), m_open.end(),
                                    [&](const SurveyDocument* open) { return open->CanonicalPath() == canonicalPath; });
    return found == m_open.end() ? nullptr : *found;
}

SurveyDocument* CDocManager::AddDocument(std::unique_ptr<SurveyDocument> document)
{
    SurveyDocument* added = document.release();
    added->setParent(this);
    m_open.push_back(added);
    connect(added, &SurveyDocument::lastFrameClosed, this, &CDocManager::OnLastFrameClosed);
    return added;
}

// The views of the last window read the survey until the window is deleted,
// so the survey goes only after it.
void CDocManager::OnLastFrameClosed(SurveyDocument* document, CChildFrame* lastFrame)
{
    std::erase(m_open, document);
    connect(lastFrame, &QObject::destroyed, document, &QObject::deleteLater);
}
