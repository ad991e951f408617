#pragma once

#include "survey/DocumentHost.h"
#include "survey/KestrixDoc.h"

#include <QString>
#include <vector>

class CChildFrame;
class CDocManager;
class CKestrixApp;

// One open raw survey file: the survey document and its windows, in the order
// their views joined it. It answers the document's requests to redraw its
// views and to open the plot windows.
class SurveyDocument : public survey::DocumentHost {
public:
    // `path`: the file as opened (absolute); `canonicalPath`: the same file
    // with links resolved, by which an open survey is recognised.
    SurveyDocument(CKestrixApp& app, CDocManager& manager, QString path, QString canonicalPath);
    ~SurveyDocument() override;
    SurveyDocument(const SurveyDocument&) = delete;
    SurveyDocument& operator=(const SurveyDocument&) = delete;

    survey::CKestrixDoc* Doc() { return &m_doc; }
    const QString& PathName() const { return m_path; }
    const QString& CanonicalPath() const { return m_canonicalPath; }
    // The document's title: the file name.
    const QString& Title() const { return m_title; }
    // The title as captions show it: marked "(not loaded)" when read-only.
    QString Caption() const;
    // A survey whose load failed keeps what was read for the user to look
    // at, but is read-only: it is neither edited nor exported.
    bool IsReadOnly() const { return m_readOnly; }
    void MarkLoadFailed();
    // Open windows, in the order their views joined the document.
    const std::vector<CChildFrame*>& Frames() const { return m_frames; }

    // A new window's view joins the document; captions are renumbered.
    void AddFrame(CChildFrame* frame);
    // A closed window leaves; with the last one the document closes.
    void RemoveFrame(CChildFrame* frame);
    // Closes every window, and so the document.
    void CloseAllFrames();

    void UpdateAllViews() override;
    void OpenPlotWindows() override;

private:
    void UpdateFrameTitles();

    CKestrixApp& m_app;
    CDocManager& m_manager;
    QString m_path;
    QString m_canonicalPath;
    QString m_title;
    survey::CKestrixDoc m_doc;
    std::vector<CChildFrame*> m_frames;
    bool m_readOnly = false;
};
