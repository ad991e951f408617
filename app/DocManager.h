#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class CChildFrame;
class CDocTemplate;
class SurveyDocument;
namespace survey {
class CKestrixDoc;
} // namespace survey

// Owns the document templates and the surveys. A survey is open until its
// last window closes; it is deleted once that window is gone, so its views
// never outlive it.
class CDocManager : public QObject {
    Q_OBJECT
public:
    CDocManager();
    ~CDocManager() override;

    // Registers a template; the manager owns it. Returns it.
    CDocTemplate* AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
    // The first registered template (the one files open with), or none.
    CDocTemplate* FirstTemplate() const;

    // The open survey of the file at `canonicalPath`, or none.
    SurveyDocument* FindOpen(const QString& canonicalPath) const;
    // Takes a new open survey into the manager's keeping; returns it.
    SurveyDocument* AddDocument(std::unique_ptr<SurveyDocument> document);

    // The open surveys, in the order they were opened.
    const std::vector<SurveyDocument*>& Documents() const { return m_open; }

private:
    void OnLastFrameClosed(SurveyDocument* document, CChildFrame* lastFrame);

    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::vector<SurveyDocument*> m_open; // children of the manager
};
