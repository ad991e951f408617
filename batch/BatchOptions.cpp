#include "batch/BatchOptions.h"

#include "survey/HoleName.h"
#include "survey/SpikeFinder.h"
#include "textio/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

const char* const kUsage =
    "usage: kestrix-batch export RAW [-o FILE] [--format xyz|csv|las] [--frame magnetic|grid] [--anomalies] [EDITS]\n"
    "                     [--depth-column] [--window K] [--threshold T]\n"
    "       kestrix-batch dump RAW [EDITS]\n"
    "       kestrix-batch listing RAW [EDITS]\n"
    "       kestrix-batch edits RAW [-o FILE] [EDITS]\n"
    "       kestrix-batch qc RAW [EDITS] [--window K] [--threshold T]\n"
    "       kestrix-batch path RAW [EDITS]\n"
    "       kestrix-batch plot RAW --view incl|az|mag|qc|plan|section -o PNG|SVG|PDF [--size WxH]\n"
    "                     [--fixed-scales] [EDITS]\n"
    "       kestrix-batch convert LAS [-o RAW] [--easting E] [--northing N] [--height H]\n"
    "                     [--declination D | --declination model SITE]\n"
    "                     [--map auto|DEPTH=MNEMONIC:UNIT,MagX=...,AccZ=MNEMONIC:UNIT]\n"
    "       kestrix-batch field --date YYYY-MM-DD (--crs EPSG:N --easting E --northing N | --location LAT LON [CONV])\n"
    "                     [--height H] [--model igrf14|wmm2025]\n"
    "EDITS, made in the order given: [--delete-depth D]... [--control-points FILE]... [--edits FILE]...\n"
    "       [--degree 1|2|3|4] [--roll 0|90|180|-90] [--fit local|whole] [--trajectory average-angle|min-curvature]\n"
    "       [--name TEXT] [--delete-flagged [--window K] [--threshold T]]\n"
    "       [SITE] [--declination model|D]: one change of the site in force, where the first of them stands\n"
    "SITE: [--crs EPSG:N | --location LAT LON [CONV]] [--date YYYY-MM-DD] [--model igrf14|wmm2025], each once;\n"
    "       the collar's easting and northing are in the grid of --crs; CONV defaults to 0\n"
    "The declination is subtracted from the magnetic azimuth: the model's D (east positive) enters as\n"
    "convergence - D.\n"
    "Exit status: 0 done, 1 failed, 2 bad usage, 130 stopped by Ctrl+C (no partial file is left).\n"
    "Work longer than half a second shows its progress on standard error when that is a terminal.\n";

namespace {

bool ParseInt(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// The whole word must be one number as the loader reads them, and finite.
bool ParseFiniteNumber(const std::string& text, double& value)
{
    return textio::ReadWholeNumber(text, value) && std::isfinite(value);
}

bool IsSurveyCommand(const std::string& word)
{
    return word == "export" || word == "dump" || word == "listing" || word == "edits" || word == "qc"
        || word == "path" || word == "plot";
}

// Whether `command` writes a file that -o names.
bool TakesOutput(const std::string& command)
{
    return command == "export" || command == "edits" || command == "plot";
}

// "WxH": two whole numbers from 1 to kMaxPlotPixels.
bool ParseSize(const std::string& text, int& width, int& height)
{
    const auto isSide = [](int side) { return side >= 1 && side <= kMaxPlotPixels; };
    const std::size_t x = text.find_first_of("xX");
    return x != std::string::npos && ParseInt(text.substr(0, x), width) && ParseInt(text.substr(x + 1), height)
        && isSide(width) && isSide(height);
}

// The value words of --location: latitude, longitude and, when the next word
// is a number, the convergence.
bool ReadLocation(const std::vector<std::string>& args, std::size_t& i, survey::Site::Location& location)
{
    if (i + 2 >= args.size() || !ParseFiniteNumber(args[i + 1], location.latitude)
        || !ParseFiniteNumber(args[i + 2], location.longitude))
        return false;
    i += 2;
    location.convergence = 0.0;
    if (i + 1 < args.size() && ParseFiniteNumber(args[i + 1], location.convergence))
        ++i;
    return crs::SiteFromLocalGrid(location.latitude, location.longitude, location.convergence).site.has_value();
}

// --declination model, or the degrees to use.
bool ReadDeclination(const std::string& text, step::SiteChange& change)
{
    if (text == "model") {
        change.declinationFrom = survey::Site::DeclinationFrom::Model;
        return true;
    }
    if (!ParseFiniteNumber(text, change.typedDeclination))
        return false;
    change.declinationFrom = survey::Site::DeclinationFrom::Typed;
    return true;
}

} // namespace

survey::Site step::SiteChange::Over(survey::Site inForce) const
{
    if (epsg || location) {
        inForce.epsg = epsg;
        inForce.location = location;
    }
    if (date)
        inForce.date = date;
    if (model)
        inForce.model = *model;
    if (declinationFrom) {
        inForce.declinationFrom = *declinationFrom;
        inForce.typedDeclination = *declinationFrom == survey::Site::DeclinationFrom::Typed ? typedDeclination : 0.0;
    }
    return inForce;
}

SiteOptionRead ReadSiteOption(const std::vector<std::string>& args, std::size_t& i, step::SiteChange& change,
                              std::string& error)
{
    const std::string& arg = args[i];
    const auto refused = [&](std::string reason) {
        error = std::move(reason);
        return SiteOptionRead::Refused;
    };
    const bool isCrs = arg == "--crs", isLocation = arg == "--location";
    if ((isCrs && change.location) || (isLocation && change.epsg))
        return refused("--crs and --location both place the collar: give one");
    const std::string value = i + 1 < args.size() ? args[i + 1] : std::string();
    if (isCrs) {
        if (change.epsg)
            return refused("--crs given twice");
        change.epsg = crs::ParseEpsg(value);
        if (!change.epsg)
            return refused("--crs takes EPSG:N, the projected grid of the collar's easting and northing");
    } else if (isLocation) {
        if (change.location)
            return refused("--location given twice");
        survey::Site::Location location;
        if (!ReadLocation(args, i, location))
            return refused("--location takes LATITUDE LONGITUDE [CONVERGENCE] in degrees (-90 to 90, -180 to 360, "
                           "-90 to 90)");
        change.location = location;
        return SiteOptionRead::Read; // i is at its last value
    } else if (arg == "--date") {
        if (change.date)
            return refused("--date given twice");
        change.date = geomag::ParseDate(value);
        if (!change.date)
            return refused("--date takes YYYY-MM-DD, a day of the calendar");
    } else if (arg == "--model") {
        if (change.model)
            return refused("--model given twice");
        change.model = geomag::ModelIdFromText(value);
        if (!change.model)
            return refused("--model takes igrf14 or wmm2025");
    } else {
        return SiteOptionRead::Other;
    }
    ++i;
    return SiteOptionRead::Read;
}

bool ParseSurveyOptions(const std::vector<std::string>& args, SurveyOptions& options, std::string& error)
{
    if (args.empty() || !IsSurveyCommand(args[0])) {
        error = args.empty() ? "no command" : "unknown command " + args[0];
        return false;
    }
    options.command = args[0];
    bool windowGiven = false, thresholdGiven = false, formatGiven = false;
    std::optional<std::size_t> siteStep; // where the site change stands among the edits
    const auto siteChange = [&]() -> step::SiteChange& {
        if (!siteStep) {
            siteStep = options.edits.size();
            options.edits.push_back(step::SiteChange{});
        }
        return std::get<step::SiteChange>(options.edits[*siteStep]);
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() -> const std::string& { return args[++i]; };
        if (arg == "--crs" || arg == "--location" || arg == "--date" || arg == "--model") {
            if (ReadSiteOption(args, i, siteChange(), error) == SiteOptionRead::Refused)
                return false;
        } else if (arg == "--declination") {
            step::SiteChange& change = siteChange();
            if (change.declinationFrom) {
                error = "--declination given twice";
                return false;
            }
            if (!hasValue || !ReadDeclination(value(), change)) {
                error = "--declination takes model or a number of degrees";
                return false;
            }
        } else if (arg == "--trajectory") {
            const auto method = survey::TrajectoryMethodFromText(hasValue ? value() : std::string());
            if (!method) {
                error = "--trajectory takes average-angle or min-curvature";
                return false;
            }
            options.edits.push_back(survey::edit::SetTrajectory{*method});
        } else if (arg == "--name") {
            const std::string problem = hasValue ? survey::HoleNameProblem(args[i + 1]) : std::string("none given");
            if (!problem.empty()) {
                error = "--name takes the hole's name: " + problem;
                return false;
            }
            options.edits.push_back(survey::edit::SetHoleName{value()});
        } else if (arg == "-o" && TakesOutput(options.command)) {
            if (!hasValue || args[i + 1].empty() || !options.outputPath.empty()) {
                error = "-o needs one output path";
                return false;
            }
            options.outputPath = value();
        } else if (arg == "--format" && options.command == "export") {
            const std::string format = hasValue ? args[i + 1] : std::string();
            const bool known = format == "xyz" || format == "csv" || format == "las";
            if (!known || formatGiven) {
                error = "--format takes one of xyz, csv or las";
                return false;
            }
            formatGiven = true;
            ++i;
            options.exportOptions.format = format == "csv"   ? survey::ExportFormat::Csv
                                         : format == "las" ? survey::ExportFormat::Las
                                                           : survey::ExportFormat::Xyz;
        } else if (arg == "--delete-depth") {
            if (!hasValue) {
                error = "--delete-depth needs a depth";
                return false;
            }
            double depth = 0;
            if (!ParseFiniteNumber(value(), depth)) {
                error = "--delete-depth " + args[i] + " is not one finite number";
                return false;
            }
            options.edits.push_back(step::DeleteDepth{depth});
        } else if (arg == "--control-points" || arg == "--edits") {
            if (!hasValue) {
                error = arg + " needs one file";
                return false;
            }
            if (arg == "--edits")
                options.edits.push_back(step::EditsFile{value()});
            else
                options.edits.push_back(step::ControlPoints{value()});
        } else if (arg == "--degree") {
            int degree = 0;
            if (!hasValue || !ParseInt(value(), degree) || !survey::IsFitDegree(degree)) {
                error = "--degree takes 1, 2, 3 or 4";
                return false;
            }
            options.edits.push_back(survey::edit::SetFitDegree{degree});
        } else if (arg == "--roll") {
            int roll = 0;
            if (!hasValue || !ParseInt(value(), roll) || !survey::IsRollAdjustment(roll)) {
                error = "--roll takes 0, 90, 180 or -90";
                return false;
            }
            options.edits.push_back(survey::edit::SetRollAdjustment{roll});
        } else if (arg == "--fit") {
            const std::string fit = hasValue ? value() : std::string();
            if (fit != "local" && fit != "whole") {
                error = "--fit takes local or whole";
                return false;
            }
            options.edits.push_back(survey::edit::SetLocalFit{fit == "local"});
        } else if (arg == "--view" && options.command == "plot") {
            if (!hasValue || !options.plotView.empty()) {
                error = "--view needs one plot name";
                return false;
            }
            options.plotView = value();
        } else if (arg == "--size" && options.command == "plot") {
            if (!hasValue || !ParseSize(value(), options.plotWidth, options.plotHeight)) {
                error = textio::Format("--size takes WIDTHxHEIGHT in pixels, each from 1 to %d, such as 1200x800",
                                       kMaxPlotPixels);
                return false;
            }
        } else if (arg == "--frame" && options.command == "export") {
            const std::string frame = hasValue ? value() : std::string();
            if (frame != "magnetic" && frame != "grid") {
                error = "--frame takes magnetic or grid";
                return false;
            }
            options.exportOptions.frame = frame == "grid" ? survey::ComponentFrame::Grid : survey::ComponentFrame::Magnetic;
        } else if (arg == "--fixed-scales" && options.command == "plot") {
            options.plotFixedScales = true;
        } else if (arg == "--anomalies" && options.command == "export") {
            options.exportOptions.anomalies = true;
        } else if (arg == "--depth-column" && options.command == "export") {
            options.exportOptions.depthColumn = true;
        } else if (arg == "--delete-flagged") {
            options.edits.push_back(step::DeleteFlagged{});
        } else if (arg == "--window") {
            int k = 0;
            if (windowGiven || !hasValue || !ParseInt(value(), k) || !survey::IsSpikeHalfWindow(k)) {
                error = textio::Format("--window takes one whole number from 0 to %d", survey::kMaxSpikeHalfWindow);
                return false;
            }
            windowGiven = true;
            options.spikes.halfWindow = k;
        } else if (arg == "--threshold") {
            double t = 0;
            if (thresholdGiven || !hasValue || !ParseFiniteNumber(value(), t) || !survey::IsSpikeThreshold(t)) {
                error = "--threshold takes one finite number above 0";
                return false;
            }
            thresholdGiven = true;
            options.spikes.threshold = t;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            error = "unknown option " + arg;
            return false;
        } else if (options.rawPath.empty()) {
            options.rawPath = arg;
        } else {
            error = "more than one survey file";
            return false;
        }
    }
    if (options.rawPath.empty()) {
        error = "no survey file";
        return false;
    }
    if (options.command == "plot" && (options.plotView.empty() || options.outputPath.empty())) {
        error = "plot needs --view and -o";
        return false;
    }
    const bool findsSpikes =
        options.command == "qc" || options.exportOptions.IsResultsFile()
        || std::any_of(options.edits.begin(), options.edits.end(),
                       [](const EditStep& s) { return std::holds_alternative<step::DeleteFlagged>(s); });
    if ((windowGiven || thresholdGiven) && !findsSpikes) {
        error = "--window and --threshold go with qc, export --format csv|las or --delete-flagged";
        return false;
    }
    // The results file holds every value in its own frame; only the XYZ file turns or subtracts.
    if (options.exportOptions.IsResultsFile() && (options.exportOptions.anomalies || options.exportOptions.depthColumn || options.exportOptions.frame != survey::ComponentFrame::Magnetic)) {
        error = "--frame, --anomalies and --depth-column go with the XYZ file, not export --format csv|las";
        return false;
    }
    return true;
}
