#include "batch/BatchOptions.h"

#include "textio/NumberText.h"

#include <charconv>
#include <cmath>

const char* const kUsage =
    "usage: kestrix-batch export RAW [-o XYZ] [EDITS]\n"
    "       kestrix-batch dump RAW [EDITS]\n"
    "       kestrix-batch listing RAW [EDITS]\n"
    "       kestrix-batch convert LAS [-o RAW] [--easting E] [--northing N] [--height H] [--declination D]\n"
    "EDITS: [--delete-depth D]... [--control-points FILE] [--degree 1|2|3|4] [--roll 0|90|180|-90]\n";

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

} // namespace

bool ParseSurveyOptions(const std::vector<std::string>& args, SurveyOptions& options, std::string& error)
{
    if (args.empty() || (args[0] != "export" && args[0] != "dump" && args[0] != "listing")) {
        error = "unknown command";
        return false;
    }
    options.command = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() -> const std::string& { return args[++i]; };
        if (arg == "-o" && options.command == "export") {
            if (!hasValue || !options.outputPath.empty()) {
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
            options.deleteDepths.push_back(depth);
        } else if (arg == "--control-points") {
            if (!hasValue || !options.controlPointsPath.empty()) {
                error = "--control-points needs one file";
                return false;
            }
            options.controlPointsPath = value();
        } else if (arg == "--degree") {
            int degree = 0;
            if (!hasValue || !ParseInt(value(), degree) || degree < 1 || degree > 4) {
                error = "--degree takes 1, 2, 3 or 4";
                return false;
            }
            options.degree = degree;
        } else if (arg == "--roll") {
            int roll = 0;
            if (!hasValue || !ParseInt(value(), roll) || (roll != 0 && roll != 90 && roll != 180 && roll != -90)) {
                error = "--roll takes 0, 90, 180 or -90";
                return false;
            }
            options.rollAdjust = roll;
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
    return true;
}
