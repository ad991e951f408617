#include "convert/fenwold/CCoords.h"
#include "convert/fenwold/CurveMappingDialog.h"
#include "convert/fenwold/FenwoldFlow.h"
#include "startup/FilePaths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <cstdio>

using namespace convert;

namespace {

QString Translate(const char* text) { return QCoreApplication::translate("Fenwold", text); }

std::optional<std::string> ChooseLasFileInDialog()
{
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a missing file comes back too; the converter reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    // "*.*" would hide files without a dot in their name; "*" matches every file.
    dialog.setNameFilters({Translate("LAS files  (*.las)"), Translate("All Files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToFilePath(dialog.selectedFiles().front());
}

std::optional<CurveMapping> AskMappingInDialog(const LasPreview& preview, const MappingProposal& proposal,
                                               bool remembered)
{
    CurveMappingDialog dialog(preview, proposal, remembered);
    return dialog.exec() == QDialog::Accepted ? dialog.Mapping() : std::nullopt;
}

// Mappings are kept per curve list in the user's settings, under a digest
// of the list (a key of any length and characters).
QString SettingsKey(const std::string& curveList)
{
    return QStringLiteral("curveMappings/")
         + QString::fromLatin1(
               QCryptographicHash::hash(QByteArray::fromStdString(curveList), QCryptographicHash::Sha256).toHex());
}

QSettings FenwoldSettings() { return QSettings(QStringLiteral("Ardencroft"), QStringLiteral("Fenwold")); }

std::optional<std::string> RecallMapping(const std::string& curveList)
{
    const QVariant value = FenwoldSettings().value(SettingsKey(curveList));
    return value.isValid() ? std::optional(value.toString().toStdString()) : std::nullopt;
}

void RememberMapping(const std::string& curveList, const std::string& mapping)
{
    FenwoldSettings().setValue(SettingsKey(curveList), QString::fromStdString(mapping));
}

bool AskCollarInDialog(Collar& collar, const std::vector<std::string>& fromLas)
{
    CCoords dialog(collar.easting, collar.northing, collar.height, collar.declination);
    QStringList lines;
    for (const std::string& line : fromLas)
        lines << QString::fromStdString(line);
    dialog.ShowFromLas(lines);
    return dialog.exec() == QDialog::Accepted;
}

// QFileDialog asks before a file is replaced.
std::optional<std::string> ChooseOutputInDialog(const std::string& proposed)
{
    QFileDialog dialog(nullptr, Translate("Save Raw Survey File As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({Translate("Raw survey files (*.txt)"), Translate("All Files (*)")});
    dialog.selectFile(FromFilePath(proposed));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToFilePath(dialog.selectedFiles().front());
}

void ShowFailureInMessageBox(const std::string& message)
{
    QMessageBox::critical(nullptr, Translate("Fenwold"), FromFilePath(message));
}

void ShowSummaryInMessageBox(const std::string& summary)
{
    QMessageBox::information(nullptr, Translate("Fenwold"), FromFilePath(summary));
}

void PrintLineOn(std::FILE* stream, const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void PrintLine(const std::string& line) { PrintLineOn(stdout, line); }
void PrintWarning(const std::string& line) { PrintLineOn(stderr, line); }

} // namespace

FenwoldSeams DialogSeams()
{
    return {.chooseLasFile = ChooseLasFileInDialog,
            .askMapping = AskMappingInDialog,
            .recallMapping = RecallMapping,
            .rememberMapping = RememberMapping,
            .askCollar = AskCollarInDialog,
            .chooseOutput = ChooseOutputInDialog,
            .showFailure = ShowFailureInMessageBox,
            .printLine = PrintLine,
            .printWarning = PrintWarning,
            .showSummary = ShowSummaryInMessageBox};
}
