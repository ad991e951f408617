#pragma once

#include "convert/Collar.h"

#include <functional>
#include <optional>
#include <string>

// What one run of fenwold needs from its user; the program passes dialogs,
// tests pass stand-ins.
struct FenwoldSeams {
    // The LAS file the user picked, or nothing when the choice was cancelled.
    std::function<std::optional<std::string>()> chooseLasFile;
    // Lets the user edit the collar; false when the user cancelled.
    std::function<bool(convert::Collar&)> askCollar;
    // Tells the user why the conversion failed.
    std::function<void(const std::string&)> showFailure;
    // Writes one line (given without its end) on standard output.
    std::function<void(const std::string&)> printLine;
    // Writes one warning line (given without its end) on standard error.
    std::function<void(const std::string&)> printWarning;
    // Tells the user, at the end, what was written and every warning.
    std::function<void(const std::string&)> showSummary;
};

// One run: choose the LAS file and read its curve list (a file that cannot
// be read fails before the collar is asked for), ask for the collar, convert
// it beside the LAS file, print the path written with each warning on
// standard error, and show a summary: the path, the rows written and left
// out, the warnings. Exit status: 0 once converted, or when the collar was
// cancelled (a line says so; nothing is written or replaced); 1 when the
// choice of the LAS file was cancelled (nothing asked, written or printed) or
// the file cannot be converted (printed and shown with showFailure).
int RunFenwold(const FenwoldSeams& seams);

// The seams of the windowed program: the open-file dialog, CCoords, message
// boxes and the standard streams.
FenwoldSeams DialogSeams();

// Whether the command line asks for the usage ("--help" or "-h" as its first argument).
bool AsksForHelp(int argc, const char* const* argv);
// What `fenwold --help` prints.
const char* FenwoldUsage();
