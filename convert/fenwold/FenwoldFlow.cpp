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
    auto fail = [&](const std::string& message) {
        seams.printLine(message);
        seams.showFailure(message);
        return 1;
    };
    // No collar is typed for a file that cannot be converted.
    if (const LasCurvesResult read = ReadLasCurves(*lasPath, {}, textio::ReadFrom::RegularFileOnly);
        read.status != ConvertResult::Status::Ok)
        return fail(read.message);
    Collar collar;
    if (!seams.askCollar(collar)) {
        seams.printLine(
            QCoreApplication::translate("Fenwold", "Conversion cancelled: no raw survey file written.").toStdString());
        return 0;
    }
    const std::string rawPath = RawSurveyPathFor(*lasPath);
    // A FIFO or device picked in the dialog would hold the program up.
    const ConvertResult result = ConvertLasFile(*lasPath, rawPath, collar, {}, textio::ReadFrom::RegularFileOnly);
    if (!result.Ok())
        return fail(result.message);
    seams.printLine(rawPath);
    std::string summary = QCoreApplication::translate("Fenwold", "Written:\n  %1\n%2 rows written, %3 left out")
                              .arg(FromFilePath(rawPath))
                              .arg(result.recordCount)
                              .arg(result.recordsLeftOut)
                              .toStdString();
    for (const std::string& warning : result.Warnings()) {
        seams.printWarning(warning);
        summary += "\n" + warning;
    }
    seams.showSummary(summary);
    return 0;
}

bool AsksForHelp(int argc, const char* const* argv)
{
    if (argc < 2)
        return false;
    const std::string first = argv[1];
    return first == "--help" || first == "-h";
}

const char* FenwoldUsage()
{
    return "Usage: fenwold\n"
           "Converts a LAS well log into a raw survey file for kestrix: choose the LAS file, type the\n"
           "collar (easting, northing, height) and the magnetic declination; the raw survey file is\n"
           "written beside the LAS file, its extension made .txt. kestrix-batch convert does the same\n"
           "from the command line.\n";
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

void ShowSummaryInMessageBox(const std::string& summary)
{
    QMessageBox::information(nullptr, QCoreApplication::translate("Fenwold", "Fenwold"), FromFilePath(summary));
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
    return {ChooseLasFileInDialog, AskCollarInDialog, ShowFailureInMessageBox, PrintLine, PrintWarning,
            ShowSummaryInMessageBox};
}
