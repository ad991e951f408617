#pragma once

#include "app/SpikeSettingsStore.h"
#include "survey/MessageSink.h"
#include "survey/ReferenceField.h"
#include "survey/Site.h"
#include "survey/ResultsExport.h"
#include "survey/SpikeFinder.h"

#include <QSize>
#include <QString>
#include <optional>

class QPrinter;
class QWidget;
namespace survey {
class CKestrixDoc;
} // namespace survey

// A results file chosen in its save dialog, and its format: the one its
// extension names or, when it names none, the dialog's chosen filter.
struct ResultsFileChoice {
    QString path;
    survey::ResultsFormat format;
};

// The modal dialogs of the program: file dialogs, message boxes and the About
// box. Tests replace them with recorders so nothing waits for a user.
class UserPrompts {
public:
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~UserPrompts() = default;
    // The file chosen in the Open dialog; nullopt when cancelled.
    virtual std::optional<QString> OpenFileName(QWidget* parent) = 0;
    // The file chosen in the export's save dialog, starting at `defaultPath`;
    // nullopt when cancelled. An existing file is taken without a question.
    virtual std::optional<QString> ExportFileName(QWidget* parent, const QString& defaultPath) = 0;
    // The file chosen in the Export Results dialog, a CSV or LAS file,
    // starting at `defaultPath`; nullopt when cancelled.
    virtual std::optional<ResultsFileChoice> ResultsFileName(QWidget* parent, const QString& defaultPath) = 0;
    // A message box titled "Kestrix" with an OK button; returns when closed.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // The About box, modal.
    virtual void ShowAbout(QWidget* parent) = 0;
    // The file chosen in the Save Plot As dialog, a PNG, SVG or PDF picture,
    // starting at `defaultPath`; nullopt when cancelled.
    virtual std::optional<QString> PlotFileName(QWidget* parent, const QString& defaultPath) = 0;
    // The PDF file chosen in the Save Report As dialog, starting at
    // `defaultPath`; nullopt when cancelled.
    virtual std::optional<QString> ReportFileName(QWidget* parent, const QString& defaultPath) = 0;
    // The hole's name typed in the Hole Name dialog, starting at `current`,
    // spaces at either end left out (empty: no name of its own); nullopt
    // when cancelled.
    virtual std::optional<QString> EditHoleName(QWidget* parent, const QString& current) = 0;
    // The picture's width and height in pixels, starting at `initial`;
    // nullopt when cancelled.
    virtual std::optional<QSize> PlotPictureSize(QWidget* parent, QSize initial) = 0;
    // The spike finder's settings and the reference tolerances as the Spike
    // Settings dialog leaves `current`, each within its range, its gravity
    // boxes in `unit` (g when unknown); nullopt when cancelled.
    virtual std::optional<QualitySettings> EditSpikeSettings(QWidget* parent, const QualitySettings& current,
                                                             survey::GravityUnit unit) = 0;
    // The site the Site dialog confirms for `doc`; nullopt when cancelled.
    virtual std::optional<survey::Site> EditSite(QWidget* parent, const survey::CKestrixDoc& doc) = 0;
    // Sets up `printer` in the Print dialog; false when cancelled.
    virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
    // `question` with the buttons Save, Discard and Cancel; closing the box cancels.
    virtual SaveChoice AskToSave(QWidget* parent, const QString& question) = 0;
    // A file chosen in a dialog titled `caption` of files `filter` ("Edits
    // files (*.edits)"), starting at `start`: one to read, or one to write
    // (asking before an existing one is replaced); nullopt when cancelled.
    enum class FileUse { Read, Write };
    virtual std::optional<QString> ChooseFile(QWidget* parent, FileUse use, const QString& caption,
                                              const QString& start, const QString& filter) = 0;
    // The text typed in the Go to Depth box, which shows `label`; nullopt when cancelled.
    virtual std::optional<QString> DepthToGoTo(QWidget* parent, const QString& label) = 0;
};

// `text` as a message box shows it: a line longer than `maxLength`
// characters (a long path) keeps its start and end around an ellipsis, so no
// path can make a giant box.
QString ElideLongLines(const QString& text, int maxLength = 100);

// The real dialogs.
class QtUserPrompts : public UserPrompts {
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
};

// The survey loader's messages, shown through the program's message box.
class MessageBoxSink : public survey::MessageSink {
public:
    MessageBoxSink(UserPrompts& prompts, QWidget* parent) : m_prompts(prompts), m_parent(parent) {}
    void ShowMessage(const std::string& text) override;

private:
    UserPrompts& m_prompts;
    QWidget* m_parent;
};

