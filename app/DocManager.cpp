#include "app/DocManager.h"

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
    for (const auto& document : m_open) {
        if (document->CanonicalPath() == canonicalPath)
            return document.get();
    }
    return nullptr;
}

SurveyDocument* CDocManager::AddDocument(std::unique_ptr<SurveyDocument> document)
{
    m_open.push_back(std::move(document));
    return m_open.back().get();
}

void CDocManager::CloseDocument(SurveyDocument* document, QObject* lastFrame)
{
    const auto found = std::find_if(m_open.begin(), m_open.end(),
                                    [&](const auto& open) { return open.get() == document; });
    if (found == m_open.end())
        return;
    m_closing.push_back(std::move(*found));
    m_open.erase(found);
    connect(lastFrame, &QObject::destroyed, this, [this, document] {
        std::erase_if(m_closing, [&](const auto& closing) { return closing.get() == document; });
    });
}
