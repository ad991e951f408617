#include "convert/fenwold/FenwoldFlow.h"

#include "convert/LasConverter.h"
#include "startup/FilePaths.h"
#include "textio/TerminalProgress.h"

#include <QCoreApplication>
#include <algorithm>

using namespace convert;

namespace {

// Records shown beside each curve in the mapping dialog.
constexpr std::size_t kFirstRecordsShown = 3;

// The remembered mapping for the curve list, when it still fits it.
std::optional<MappingProposal> Remembered(const FenwoldSeams& seams, const std::vector<LasCurve>& curves)
{
    const std::optional<std::string> text = seams.recallMapping(CurveListKey(curves));
    std::string error;
    const std::optional<CurveMapping> mapping = text ? ParseCurveMapping(*text, error) : std::nullopt;
    if (!mapping)
        return std::nullopt;
    MappingProposal proposal;
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        const MappedCurve& mapped = mapping->curves[axis];
        const bool present = std::any_of(curves.begin(), curves.end(), [&](const LasCurve& curve) {
            return SameIgnoringCase(curve.mnemonic, mapped.mnemonic);
        });
        if (!present)
            return std::nullopt;
        proposal.curves[axis] = mapped;
    }
    return proposal;
}

} // namespace

std::string CurveListKey(const std::vector<LasCurve>& curves)
{
    std::string key;
    for (const LasCurve& curve : curves)
        key += curve.mnemonic + "." + curve.unit + "\n";
    return key;
}

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
    auto cancelled = [&] {
        seams.printLine(
            QCoreApplication::translate("Fenwold", "Conversion cancelled: no raw survey file written.").toStdString());
        return 0;
    };
    // Nothing is asked for a file that cannot be converted.
    const LasCurvesResult read = ReadLasCurves(*lasPath, {}, textio::ReadFrom::RegularFileOnly, kFirstRecordsShown);
    if (read.status != ConvertResult::Status::Ok)
        return fail(read.message);

    std::optional<CurveMapping> mapping;
    if (const MappingProposal proposal = ProposeCurveMapping(read.preview.curves); !proposal.identity) {
        const std::optional<MappingProposal> remembered = Remembered(seams, read.preview.curves);
        mapping = seams.askMapping(read.preview, remembered ? *remembered : proposal, remembered.has_value());
        if (!mapping)
            return cancelled();
        seams.rememberMapping(CurveListKey(read.preview.curves), CurveMappingText(*mapping));
    }

    CollarFromLas fromLas = CollarFromHeader(read.preview.header);
    if (!seams.askCollar(fromLas.collar, fromLas.taken))
        return cancelled();
    const std::optional<std::string> rawPath = seams.chooseOutput(RawSurveyPathFor(*lasPath));
    if (!rawPath)
        return cancelled();

    // A FIFO or device picked in the dialog would hold the program up.
    const auto from = textio::ReadFrom::RegularFileOnly;
    textio::TerminalProgress progress("fenwold: converting " + *lasPath);
    const ConvertResult result =
        mapping ? ConvertLasFile(*lasPath, *rawPath, fromLas.collar, *mapping, {}, from, &progress)
                : ConvertLasFile(*lasPath, *rawPath, fromLas.collar, ConvertLimits{}, from, &progress);
    if (!result.Ok())
        return fail(result.message);
    seams.printLine(*rawPath);
    std::string summary = QCoreApplication::translate("Fenwold", "Written:\n  %1\n%2 rows written, %3 left out")
                              .arg(FromFilePath(*rawPath))
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
           "Converts a LAS well log into a raw survey file for kestrix: choose the LAS file; when its\n"
           "curves are not named DEPTH, MagX, MagY, MagZ, AccX, AccY, AccZ, choose which curves give\n"
           "them and in which units; type the collar (easting, northing, height) and the magnetic\n"
           "declination, starting from what the LAS header holds; choose where the raw survey file\n"
           "goes (beside the LAS file, its extension made .txt, unless you choose otherwise).\n"
           "kestrix-batch convert does the same from the command line.\n";
}
