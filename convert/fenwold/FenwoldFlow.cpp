#include "convert/fenwold/FenwoldFlow.h"

#include "convert/fenwold/CCoords.h"
#include "convert/LasConverter.h"
#include "startup/FilePaths.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <cstdio>

using namespace convert;

int RunFenwold(const FenwoldSeams& seams)
{
    const std::optional<std::string> lasPath = seams.chooseLasFile();
    if (!lasPath)
        return 1;
    Collar collar;
    if (!seams.askCollar(collar)) {
        seams.printLine(
            QCoreApplication::translate("Fenwold", "Conversion cancelled: no raw survey file written.").toStdString());
        return 0;
    }
    const std::string rawPath = RawSurveyPathFor(*lasPath);
    // A FIFO or device picked in the dialog would hold the program up.
    const ConvertResult result = ConvertLasFile(*lasPath, rawPath, collar, {}, textio::ReadFrom::RegularFileOnly);
    if (!result.Ok()) {
        seams.printLine(result.message);
        seams.showFailure(result.message);
        return 1;
    }
    seams.printLine(rawPath);
    for (const std::string& warning : result.Warnings())
        seams.printWarning(warning);
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
    dialog.setNameFilters({QCoreApplication::translate("Fenwold", "LAS files  (*.las)"),
                           QCoreApplication::translate("Fenwold", "All Files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToFilePath(dialog.selectedFiles().front());
}

bool AskCollarInDialog(Collar& collar)
{
    CCoords dialog(collar.easting, collar.northing, collar.height, collar.declination);
    return dialog.exec() == QDialog::Accepted;
}

void ShowFailureInMessageBox(const std::string& message)
{
    QMessageBox::critical(nullptr, QCoreApplication::translate("Fenwold", "Fenwold"), FromFilePath(message));
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
    return {ChooseLasFileInDialog, AskCollarInDialog, ShowFailureInMessageBox, PrintLine, PrintWarning};
}
