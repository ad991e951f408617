#include "batch/BatchOptions.h"

#include "survey/SpikeFinder.h"
#include "textio/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

const char* const kUsage =
    "usage: kestrix-batch export RAW [-o XYZ] [--frame magnetic|grid] [--anomalies] [EDITS]\n"
    "       kestrix-batch dump RAW [EDITS]\n"
    "       kestrix-batch listing RAW [EDITS]\n"
    "       kestrix-batch edits RAW [-o FILE] [EDITS]\n"
    "       kestrix-batch qc RAW [EDITS] [--window K] [--threshold T]\n"
    "       kestrix-batch plot RAW --view incl|az|mag|qc -o PNG|SVG [--size WxH] [EDITS]\n"
    "       kestrix-batch convert LAS [-o RAW] [--easting E] [--northing N] [--height H] [--declination D]\n"
    "                     [--map auto|DEPTH=MNEMONIC:UNIT,MagX=...,AccZ=MNEMONIC:UNIT]\n"
    "EDITS, made in the order given: [--delete-depth D]... [--control-points FILE]... [--edits FILE]...\n"
    "       [--degree 1|2|3|4] [--roll 0|90|180|-90] [--fit local|whole]\n"
    "       [--delete-flagged [--window K] [--threshold T]]\n";

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
        || word == "plot";
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

} // namespace

bool ParseSurveyOptions(const std::vector<std::string>& args, SurveyOptions& options, std::string& error)
{
    if (args.empty() || !IsSurveyCommand(args[0])) {
        error = args.empty() ? "no command" : "unknown command " + args[0];
        return false;
    }
    options.command = args[0];
    bool windowGiven = false, thresholdGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() -> const std::string& { return args[++i]; };
        if (arg == "-o" && TakesOutput(options.command)) {
            if (!hasValue || args[i + 1].empty() || !options.outputPath.empty()) {
                error = "-o needs one output path";
                return false;
            }
            options.outputPath = value();
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
        } else if (arg == "--anomalies" && options.command == "export") {
            options.exportOptions.anomalies = true;
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
        options.command == "qc"
        || std::any_of(options.edits.begin(), options.edits.end(),
                       [](const EditStep& s) { return std::holds_alternative<step::DeleteFlagged>(s); });
    if ((windowGiven || thresholdGiven) && !findsSpikes) {
        error = "--window and --threshold go with qc or --delete-flagged";
        return false;
    }
    return true;
}
