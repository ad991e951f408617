#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class CDocTemplate;
class SurveyDocument;

// Owns the document templates and the open surveys. A survey stays open until
// its last window closes; it is deleted once that window is destroyed, so its
// views never outlive it.
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
    // `document` has lost its last window `lastFrame`: it is no longer open
    // and is deleted when `lastFrame` is destroyed.
    void CloseDocument(SurveyDocument* document, QObject* lastFrame);

    const std::vector<std::unique_ptr<SurveyDocument>>& Documents() const { return m_open; }

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::vector<std::unique_ptr<SurveyDocument>> m_open;
    std::vector<std::unique_ptr<SurveyDocument>> m_closing;
};
