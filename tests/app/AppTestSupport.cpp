#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrinter>
#include <QMdiArea>
#include <QSettings>
#include <QTest>
#include <cmath>

std::optional<QString> RecordingPrompts::OpenFileName(QWidget*)
{
    ++openDialogs;
    const QString answer = openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

std::optional<QString> RecordingPrompts::ExportFileName(QWidget*, const QString& defaultPath)
{
    exportDefaults.push_back(defaultPath);
    const QString answer = exportAnswers.isEmpty() ? QString() : exportAnswers.takeFirst();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

std::optional<QString> RecordingPrompts::ChooseFile(QWidget*, FileUse, const QString&, const QString& start,
                                                    const QString&)
{
    fileStarts.push_back(start);
    const QString answer = fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

std::optional<ResultsFileChoice> RecordingPrompts::ResultsFileName(QWidget*, const QString& defaultPath)
{
    resultsDefaults.push_back(defaultPath);
    if (resultsAnswers.empty())
        return std::nullopt;
    const ResultsFileChoice answer = resultsAnswers.front();
    resultsAnswers.erase(resultsAnswers.begin());
    return answer;
}

void RecordingPrompts::ShowMessage(QWidget*, const QString& text) { messages.append(text); }

void RecordingPrompts::ShowAbout(QWidget*) { ++aboutBoxes; }

std::optional<QString> RecordingPrompts::PlotFileName(QWidget*, const QString& defaultPath)
{
    plotDefaults.push_back(defaultPath);
    const QString answer = plotAnswers.isEmpty() ? QString() : plotAnswers.takeFirst();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

std::optional<QString> RecordingPrompts::ReportFileName(QWidget*, const QString& defaultPath)
{
    reportDefaults.push_back(defaultPath);
    const QString answer = reportAnswers.isEmpty() ? QString() : reportAnswers.takeFirst();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

std::optional<QString> RecordingPrompts::EditHoleName(QWidget*, const QString&) { return holeNameAnswer; }

std::optional<QSize> RecordingPrompts::PlotPictureSize(QWidget*, QSize initial)
{
    sizesOffered.push_back(initial);
    return sizeAnswer;
}

std::optional<QualitySettings> RecordingPrompts::EditSpikeSettings(QWidget*, const QualitySettings&,
                                                                   survey::GravityUnit unit)
{
    settingsUnits.push_back(unit);
    return settingsAnswer;
}

std::optional<survey::Site> RecordingPrompts::EditSite(QWidget*, const survey::CKestrixDoc&) { return siteAnswer; }

std::optional<QString> RecordingPrompts::DepthToGoTo(QWidget*, const QString& label)
{
    depthLabels.append(label);
    if (depthAnswers.isEmpty())
        return std::nullopt;
    return depthAnswers.takeFirst();
}

bool RecordingPrompts::SetUpPrinter(QWidget*, QPrinter& printer)
{
    if (printFile.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printFile);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
    return true;
}

UserPrompts::SaveChoice RecordingPrompts::AskToSave(QWidget*, const QString& question)
{
    saveQuestions.append(question);
    if (saveAnswers.empty())
        return SaveChoice::Cancel;
    const SaveChoice answer = saveAnswers.front();
    saveAnswers.erase(saveAnswers.begin());
    return answer;
}

bool WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString PathOf(const ScratchFolder& folder) { return QFile::decodeName(QByteArray::fromStdString(folder.Path())); }

QString PathIn(const ScratchFolder& folder, const QString& name)
{
    return QFile::decodeName(QByteArray::fromStdString(folder / QFile::encodeName(name).toStdString()));
}

void ProcessDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

AppHarness::AppHarness()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, PathOf(m_settings));
}

AppHarness::~AppHarness() { Stop(); }

bool AppHarness::Start(const QStringList& arguments)
{
    Stop();
    m_app = std::make_unique<CKestrixApp>();
    m_app->SetPrompts(&prompts);
    const bool started = m_app->InitInstance(QStringList{QStringLiteral("kestrix")} + arguments);
    if (started) {
        CMainFrame* frame = m_app->MainFrame();
        frame->activateWindow();
        (void)QTest::qWaitForWindowActive(frame);
        QCoreApplication::processEvents();
    }
    return started;
}

void AppHarness::Stop()
{
    m_app.reset();
    ProcessDeferredDeletes();
}

QString AppHarness::MakeSurvey(const QString& name, int rows)
{
    const QString path = DataPath(name);
    WriteFile(path, RawSurveyText(rows));
    return path;
}

std::vector<CChildFrame*> AppHarness::Frames() const
{
    std::vector<CChildFrame*> frames;
    if (!m_app || !m_app->MainFrame())
        return frames;
    for (QMdiSubWindow* window : m_app->MainFrame()->MdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* frame = qobject_cast<CChildFrame*>(window))
            frames.push_back(frame);
    }
    return frames;
}

QStringList AppHarness::Captions() const
{
    QStringList captions;
    for (const CChildFrame* frame : Frames())
        captions.append(frame->windowTitle());
    return captions;
}
