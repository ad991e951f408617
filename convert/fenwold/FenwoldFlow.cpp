#include "FenwoldFlow.h"

#include "CCoords.h"
#include "LasConverter.h"

#include <QFileDialog>
#include <QMessageBox>

int RunFenwold(const FenwoldSeams& seams)
{
    const std::optional<std::string> lasPath = seams.chooseLasFile();
    if (!lasPath)
        return 1;
    Collar collar;
    seams.askCollar(collar);
    const ConvertResult result = ConvertLasFile(*lasPath, RawSurveyPathFor(*lasPath), collar);
    if (!result.Ok()) {
        seams.showFailure(result.message);
        return 1;
    }
    return 0;
}

namespace {

std::optional<std::string> ChooseLasFileInDialog()
{
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a missing file comes back too; the converter reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    // "*.*" would hide files without a dot in their name; "*" matches every file.
    dialog.setNameFilters({QStringLiteral("LAS files  (*.las)"), QStringLiteral("All Files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void AskCollarInDialog(Collar& collar)
{
    CCoords dialog(collar.easting, collar.northing, collar.height, collar.declination);
    dialog.exec();
}

void ShowFailureInMessageBox(const std::string& message)
{
    QMessageBox::critical(nullptr, QStringLiteral("Fenwold"), QString::fromStdString(message));
}

} // namespace

FenwoldSeams DialogSeams() { return {ChooseLasFileInDialog, AskCollarInDialog, ShowFailureInMessageBox}; }
