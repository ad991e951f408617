#pragma once

#include <optional>
#include <string>
#include <vector>

// What a survey subcommand (export, dump, listing) of kestrix-batch was asked to do.
struct SurveyOptions {
    std::string command;  // "export", "dump" or "listing"
    std::string rawPath;
    std::string outputPath; // export only; empty for the default name
    std::vector<double> deleteDepths; // finite, read as the loader reads numbers
    std::string controlPointsPath;
    std::optional<int> degree;     // 1 to 4
    std::optional<int> rollAdjust; // 0, 90, 180 or -90
};

// Parses the words after the program name for export, dump and listing.
// Returns false with a reason in `error` on bad usage.
bool ParseSurveyOptions(const std::vector<std::string>& args, SurveyOptions& options, std::string& error);

extern const char* const kUsage;
