#pragma once

#include "RawSurveyText.h"
#include "ScratchFolder.h"
#include "app/UserPrompts.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <ostream>
#include <optional>
#include <vector>

class CKestrixApp;
class CChildFrame;

// Dialog answers given in advance, and a record of what was asked and shown.
class RecordingPrompts : public UserPrompts {
public:
    std::optional<QString> OpenFileName(QWidget* parent) override;
    std::optional<QString> ExportFileName(QWidget* parent, const QString& defaultPath) override;
    std::optional<ResultsFileChoice> ResultsFileName(QWidget* parent, const QString& defaultPath) override;
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowAbout(QWidget* parent) override;
    std::optional<QString> PlotFileName(QWidget* parent, const QString& defaultPath) override;
    std::optional<QString> ReportFileName(QWidget* parent, const QString& defaultPath) override;
    std::optional<QString> EditHoleName(QWidget* parent, const QString& current) override;
    std::optional<QSize> PlotPictureSize(QWidget* parent, QSize initial) override;
    std::optional<QualitySettings> EditSpikeSettings(QWidget* parent, const QualitySettings& current,
                                                     survey::GravityUnit unit) override;
    std::optional<survey::Site> EditSite(QWidget* parent, const survey::CKestrixDoc& doc) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
    SaveChoice AskToSave(QWidget* parent, const QString& question) override;
    std::optional<QString> ChooseFile(QWidget* parent, FileUse use, const QString& caption, const QString& start,
                                      const QString& filter) override;
    std::optional<QString> DepthToGoTo(QWidget* parent, const QString& label) override;

    QStringList openAnswers; // in turn; an empty answer cancels, as does running out
    QStringList exportAnswers;
    std::vector<QString> exportDefaults; // default path of every export dialog
    std::vector<ResultsFileChoice> resultsAnswers; // in turn; running out cancels
    std::vector<QString> resultsDefaults;
    QStringList messages;
    int openDialogs = 0;
    int aboutBoxes = 0;
    QStringList plotAnswers;                       // as the open answers
    std::vector<QString> plotDefaults;             // default path of every Save Plot As dialog
    std::vector<QSize> sizesOffered;               // initial size of every picture size dialog
    std::optional<QSize> sizeAnswer;               // none cancels
    QStringList reportAnswers;                     // as the open answers
    std::vector<QString> reportDefaults;           // default path of every Save Report As dialog
    std::optional<QString> holeNameAnswer;         // none cancels
    std::optional<QualitySettings> settingsAnswer; // none cancels
    std::vector<survey::GravityUnit> settingsUnits;      // the units of every Spike Settings dialog
    std::optional<survey::Site> siteAnswer;              // none cancels
    QString printFile;                             // prints into this PDF file; empty cancels
    std::vector<SaveChoice> saveAnswers; // in turn; running out cancels
    QStringList saveQuestions;
    QStringList fileAnswers;   // ChooseFile's, in turn; as the open answers
    QStringList fileStarts;    // where every ChooseFile dialog started
    QStringList depthAnswers; // in turn; running out cancels
    QStringList depthLabels;
};

// Writes `text` to `path`; false on failure.
bool WriteFile(const QString& path, const QByteArray& text);
QByteArray ReadFile(const QString& path);
// The path of `folder`, and of `name` in it.
QString PathOf(const ScratchFolder& folder);
QString PathIn(const ScratchFolder& folder, const QString& name);

// A started application with its settings and data in temporary folders.
class AppHarness {
public:
    AppHarness();
    ~AppHarness();

    // Starts a new application (the previous one ends first) with `arguments`
    // after the program name. Returns InitInstance's result.
    bool Start(const QStringList& arguments = {});
    // Ends the application and lets closed windows and surveys go.
    void Stop();

    // A raw survey file of `rows` observations in the data folder.
    QString MakeSurvey(const QString& name, int rows = 201);
    QString DataPath(const QString& name) const { return PathIn(m_data, name); }

    CKestrixApp& App() { return *m_app; }
    RecordingPrompts prompts;

    // The survey windows in creation order.
    std::vector<CChildFrame*> Frames() const;
    QStringList Captions() const;

private:
    ScratchFolder m_settings;
    ScratchFolder m_data;
    std::unique_ptr<CKestrixApp> m_app;
};

// Readable failure messages for QString values.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// Lets deferred deletions (closed windows) happen.
void ProcessDeferredDeletes();
