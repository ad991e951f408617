#include "batch/ConvertCommand.h"

#include "batch/BatchOptions.h"
#include "convert/LasConverter.h"
#include "survey/Site.h"
#include "textio/NumberText.h"
#include "textio/TerminalProgress.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>

using namespace convert;

namespace {

// A collar value on the command line: the whole word is one finite number.
bool ParseCollarValue(const std::string& text, double& value)
{
    double parsed = 0.0;
    if (!textio::ReadWholeNumber(text, parsed) || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

// What kestrix-batch convert was asked to do.
struct ConvertOptions {
    std::string lasPath;
    std::string rawPath;
    Collar collar;
    bool mapGiven = false;
    bool mapAuto = false;              // --map auto: the converter's proposal
    std::optional<CurveMapping> mapping; // --map AXIS=MNEMONIC:UNIT,...
    bool declinationFromModel = false;   // --declination model
    step::SiteChange site;               // --crs, --location, --date, --model: the model's collar
};

bool ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const SiteOptionRead site = ReadSiteOption(args, i, options.site, error);
        if (site == SiteOptionRead::Refused)
            return false;
        if (site == SiteOptionRead::Read)
            continue;
        const bool declinationModel = arg == "--declination" && i + 1 < args.size() && args[i + 1] == "model";
        if (arg == "--declination")
            options.declinationFromModel = declinationModel; // the last --declination counts
        if (declinationModel) {
            ++i;
            continue;
        }
        double* collarValue = arg == "--easting"       ? &options.collar.easting
                            : arg == "--northing"    ? &options.collar.northing
                            : arg == "--height"      ? &options.collar.height
                            : arg == "--declination" ? &options.collar.declination
                                                     : nullptr;
        if (collarValue) {
            if (i + 1 == args.size()) {
                error = arg + " needs a number";
                return false;
            }
            if (!ParseCollarValue(args[i + 1], *collarValue)) {
                error = arg + " needs one finite number, not \"" + args[i + 1] + "\"";
                return false;
            }
            ++i;
        } else if (arg == "-o") {
            if (i + 1 == args.size() || args[i + 1].empty() || !options.rawPath.empty()) {
                error = "-o needs one output path";
                return false;
            }
            options.rawPath = args[++i];
        } else if (arg == "--map") {
            if (i + 1 == args.size() || options.mapGiven) {
                error = "--map needs one mapping: auto or DEPTH=MNEMONIC:UNIT,MagX=...";
                return false;
            }
            options.mapGiven = true;
            const std::string& text = args[++i];
            if (text == "auto") {
                options.mapAuto = true;
            } else {
                std::string reason;
                options.mapping = ParseCurveMapping(text, reason);
                if (!options.mapping) {
                    error = "--map: " + reason;
                    return false;
                }
            }
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            error = "unknown option " + arg;
            return false;
        } else if (options.lasPath.empty() && !arg.empty()) {
            options.lasPath = arg;
        } else {
            error = "convert takes one LAS file";
            return false;
        }
    }
    if (options.lasPath.empty()) {
        error = "no LAS file";
        return false;
    }
    const step::SiteChange& site = options.site;
    const bool siteGiven = site.epsg || site.location || site.date || site.model;
    if (siteGiven && !options.declinationFromModel) {
        error = "--crs, --location, --date and --model serve --declination model";
        return false;
    }
    if (options.declinationFromModel && (!site.date || !(site.epsg || site.location))) {
        error = "--declination model needs --date and --crs or --location";
        return false;
    }
    return true;
}

// The model's declination at the collar as the raw survey file holds it:
// convergence less D, to the hundredths the file writes. Exit status 0, or
// 1 with the reason when the model or the grid gives nothing there.
int DeclinationFromModel(ConvertOptions& options, std::ostream& err)
{
    survey::Site site = options.site.Over({});
    site.declinationFrom = survey::Site::DeclinationFrom::Model;
    const Collar& collar = options.collar;
    const survey::SiteReference reference = survey::ReferenceAt(site, collar.easting, collar.northing, collar.height);
    const std::optional<double> declination = reference.SurveyDeclination();
    if (!declination) {
        err << "kestrix-batch: declination model: " << reference.problem << '\n';
        return 1;
    }
    // Adding 0.0 makes a declination that rounds to zero "0.00", never "-0.00".
    options.collar.declination = std::round(*declination * 100.0) / 100.0 + 0.0;
    err << textio::Format("kestrix-batch: declination %.2f: convergence %.2f less ", options.collar.declination,
                          reference.place->convergence)
        << geomag::BuiltInModel(site.model).name << " " << survey::EastWestText(reference.field->declinationDegrees)
        << '\n';
    return 0;
}

} // namespace

int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    ConvertOptions options;
    std::string error;
    if (!ParseConvertOptions(args, options, error)) {
        err << "kestrix-batch: " << error << '\n' << kUsage;
        return 2;
    }
    if (int status = options.declinationFromModel ? DeclinationFromModel(options, err) : 0)
        return status;
    if (options.rawPath.empty())
        options.rawPath = RawSurveyPathFor(options.lasPath);
    if (options.mapAuto) {
        // The proposal reads the curve list first, so the file is read twice:
        // a pipe would give nothing the second time.
        const LasCurvesResult curves = ReadLasCurves(options.lasPath, {}, textio::ReadFrom::RegularFileOnly);
        if (curves.status != ConvertResult::Status::Ok) {
            err << curves.message << '\n';
            return 1;
        }
        const MappingProposal proposal = ProposeCurveMapping(curves.preview.curves);
        options.mapping = proposal.Mapping();
        if (!proposal.identity && !options.mapping) {
            std::string unplaced;
            for (const std::string& axis : proposal.Unplaced())
                unplaced += (unplaced.empty() ? "" : ", ") + axis;
            err << "kestrix-batch: --map auto cannot place " << unplaced << " in " << options.lasPath
                << "; name them with --map DEPTH=MNEMONIC:UNIT,MagX=...\n";
            return 1;
        }
    }
    if (options.mapping)
        err << "kestrix-batch: curves mapped: " << CurveMappingText(*options.mapping) << '\n';
    else if (options.mapAuto)
        err << "kestrix-batch: curves mapped: none, the file's curves are DEPTH MagX MagY MagZ AccX AccY AccZ\n";
    textio::TerminalProgress progress("kestrix-batch: converting " + options.lasPath);
    const auto from = textio::ReadFrom::AnyFile;
    const ConvertResult result =
        options.mapping
            ? ConvertLasFile(options.lasPath, options.rawPath, options.collar, *options.mapping, {}, from, &progress)
            : ConvertLasFile(options.lasPath, options.rawPath, options.collar, {}, from, &progress);
    if (result.status == ConvertResult::Status::Cancelled)
        return kStoppedStatus;
    if (!result.Ok()) {
        err << result.message << '\n';
        return 1;
    }
    out << options.rawPath << '\n';
    for (const std::string& warning : result.Warnings())
        err << "kestrix-batch: " << warning << '\n';
    return 0;
}
