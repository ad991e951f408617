#include "app/SavedEdits.h"

#include "app/ProgramInfo.h"
#include "app/SurveyDocument.h"
#include "startup/FilePaths.h"
#include "survey/EditsFile.h"
#include "survey/EditsRestore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

using namespace survey;

namespace {

QString Translated(const char* text) { return QCoreApplication::translate("SavedEdits", text); }

// Settings keys may not hold every character of a path.
QString SettingsKey(const SurveyDocument& document)
{
    return QStringLiteral("Saved Edits/")
         + QString::fromLatin1(QUrl::toPercentEncoding(document.CanonicalPath()));
}

QString RememberedEditsPath(const SurveyDocument& document)
{
    return QSettings(kProgramMaker, kProgramName).value(SettingsKey(document)).toString();
}

void RememberEditsPath(const SurveyDocument& document, const QString& path)
{
    QSettings(kProgramMaker, kProgramName).setValue(SettingsKey(document), path);
}

bool WriteEdits(SurveyDocument& document, const QString& path, UserPrompts& prompts, QWidget* parent)
{
    const auto status = WriteEditsFile(EditsOf(*document.Doc()), ToFilePath(path));
    if (status == textio::SafeFileWriter::Status::Ok) {
        document.MarkEditsSaved();
        return true;
    }
    const QString shown = QDir::toNativeSeparators(path);
    prompts.ShowMessage(parent, FromFilePath(textio::WriteFailureMessage(status, ToFilePath(shown))));
    return false;
}

// The edits file to restore and how the status bar names it (empty: beside
// the survey, the only one); none when the survey has none.
struct EditsToRestore {
    QString path;
    QString named;
};

std::optional<EditsToRestore> ChooseEditsFile(const SurveyDocument& document)
{
    const QFileInfo beside(EditsPathBeside(document));
    const QString remembered = RememberedEditsPath(document);
    const QFileInfo elsewhere(remembered);
    const bool hasElsewhere = !remembered.isEmpty() && elsewhere.isFile()
                           && elsewhere.absoluteFilePath() != beside.absoluteFilePath();
    if (!hasElsewhere)
        return beside.exists() ? std::optional<EditsToRestore>({beside.filePath(), QString()}) : std::nullopt;
    const QString shownElsewhere = QDir::toNativeSeparators(elsewhere.absoluteFilePath());
    if (!beside.exists())
        return EditsToRestore{elsewhere.absoluteFilePath(), Translated(" from %1").arg(shownElsewhere)};
    // Both: the one saved last holds the latest edits.
    if (elsewhere.lastModified() > beside.lastModified())
        return EditsToRestore{elsewhere.absoluteFilePath(),
                              Translated(" from %1 (newer than %2 beside the survey)").arg(shownElsewhere, beside.fileName())};
    return EditsToRestore{beside.filePath(),
                          Translated(" from %1 beside the survey (newer than %2)").arg(beside.fileName(), shownElsewhere)};
}

} // namespace

QString EditsPathBeside(const SurveyDocument& document)
{
    return FromFilePath(EditsFilePath(ToFilePath(document.PathName())));
}

QString EditsPathOf(const SurveyDocument& document)
{
    return document.EditsPath().isEmpty() ? EditsPathBeside(document) : document.EditsPath();
}

bool SaveEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
{
    if (document.IsReadOnly())
        return false;
    return WriteEdits(document, EditsPathOf(document), prompts, parent);
}

bool SaveEditsAs(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
{
    if (document.IsReadOnly())
        return false;
    const std::optional<QString> chosen =
        prompts.ChooseFile(parent, UserPrompts::FileUse::Write, Translated("Save Edits As"), EditsPathOf(document),
                           Translated("Edits files (*.edits)"));
    if (!chosen)
        return false;
    const QString path = QFileInfo(*chosen).absoluteFilePath();
    if (QFileInfo(path) == QFileInfo(document.PathName())) {
        prompts.ShowMessage(parent, Translated("The edits file would replace the raw survey file\n  %1")
                                        .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (!WriteEdits(document, path, prompts, parent))
        return false;
    document.SetEditsPath(path);
    RememberEditsPath(document, path);
    return true;
}

std::optional<QString> RestoreSavedEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
{
    if (document.IsReadOnly())
        return std::nullopt;
    const std::optional<EditsToRestore> chosen = ChooseEditsFile(document);
    if (!chosen)
        return std::nullopt;
    const std::string path = ToFilePath(chosen->path);
    EditsFault fault{};
    const std::variant<SurveyEdits, EditsFault> read = ReadEditsFile(path, textio::ReadFrom::RegularFileOnly);
    if (const auto* edits = std::get_if<SurveyEdits>(&read)) {
        const std::variant<std::string, EditsFault> restored = document.RestoreEdits(*edits);
        if (const auto* summary = std::get_if<std::string>(&restored)) {
            document.SetEditsPath(chosen->path);
            return Translated("Edits restored%1: %2").arg(chosen->named, FromFilePath(*summary));
        }
        fault = std::get<EditsFault>(restored);
    } else {
        fault = std::get<EditsFault>(read);
    }
    prompts.ShowMessage(parent, Translated("%1\nThe survey is opened without these edits.")
                                    .arg(FromFilePath(EditsFaultText(path, fault))));
    return std::nullopt;
}

bool AskToSaveEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
{
    const QString question = Translated("Save the edits to %1?").arg(QFileInfo(EditsPathOf(document)).fileName());
    switch (prompts.AskToSave(parent, question)) {
    case UserPrompts::SaveChoice::Save: return SaveEdits(document, prompts, parent);
    case UserPrompts::SaveChoice::Discard: return true;
    case UserPrompts::SaveChoice::Cancel: break;
    }
    return false;
}
