#include "app/SavedEdits.h"

#include "app/SurveyDocument.h"
#include "startup/FilePaths.h"
#include "survey/EditsFile.h"
#include "survey/EditsRestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace survey;

namespace {

std::string CoreEditsPath(const SurveyDocument& document) { return EditsFilePath(ToFilePath(document.PathName())); }

} // namespace

QString EditsPathOf(const SurveyDocument& document) { return FromFilePath(CoreEditsPath(document)); }

bool SaveEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
{
    if (document.IsReadOnly())
        return false;
    const auto status = WriteEditsFile(EditsOf(*document.Doc()), CoreEditsPath(document));
    if (status == textio::SafeFileWriter::Status::Ok) {
        document.MarkEditsSaved();
        return true;
    }
    const QString shown = QDir::toNativeSeparators(EditsPathOf(document));
    prompts.ShowMessage(parent, FromFilePath(textio::WriteFailureMessage(status, ToFilePath(shown))));
    return false;
}

std::optional<QString> RestoreSavedEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
{
    const std::string path = CoreEditsPath(document);
    if (document.IsReadOnly() || !QFileInfo::exists(FromFilePath(path)))
        return std::nullopt;
    EditsFault fault{};
    const std::variant<SurveyEdits, EditsFault> read = ReadEditsFile(path, textio::ReadFrom::RegularFileOnly);
    if (const auto* edits = std::get_if<SurveyEdits>(&read)) {
        const std::variant<std::string, EditsFault> restored = document.RestoreEdits(*edits);
        if (const auto* summary = std::get_if<std::string>(&restored))
            return QCoreApplication::translate("SavedEdits", "Edits restored: %1").arg(FromFilePath(*summary));
        fault = std::get<EditsFault>(restored);
    } else {
        fault = std::get<EditsFault>(read);
    }
    prompts.ShowMessage(parent, QCoreApplication::translate("SavedEdits", "%1\nThe survey is opened without these edits.")
                                    .arg(FromFilePath(EditsFaultText(path, fault))));
    return std::nullopt;
}

bool AskToSaveEdits(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
{
    const QString question = QCoreApplication::translate("SavedEdits", "Save the edits to %1?").arg(QFileInfo(EditsPathOf(document)).fileName());
    switch (prompts.AskToSave(parent, question)) {
    case UserPrompts::SaveChoice::Save: return SaveEdits(document, prompts, parent);
    case UserPrompts::SaveChoice::Discard: return true;
    case UserPrompts::SaveChoice::Cancel: break;
    }
    return false;
}
