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
};

// One run: choose the LAS file, ask for the collar, convert it beside the
// LAS file and print the path written, with a warning on standard error when
// the curve names lack a name kestrix needs or values were not numbers. Exit status: 0 once converted, or when the
// collar was cancelled (a line says so; nothing is written or replaced);
// 1 when the choice of the LAS file was cancelled (nothing asked, written or
// printed) or the conversion failed (printed and shown with showFailure).
int RunFenwold(const FenwoldSeams& seams);

// The seams of the windowed program: the open-file dialog, CCoords, a message
// box and standard output.
FenwoldSeams DialogSeams();
