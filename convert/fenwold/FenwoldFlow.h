#pragma once

#include "Collar.h"

#include <functional>
#include <optional>
#include <string>

// What one run of fenwold needs from its user; the program passes dialogs,
// tests pass stand-ins.
struct FenwoldSeams {
    // The LAS file the user picked, or nothing when the choice was cancelled.
    std::function<std::optional<std::string>()> chooseLasFile;
    // Lets the user edit the collar; whatever the outcome, the run goes on.
    std::function<void(Collar&)> askCollar;
    // Tells the user why the conversion failed.
    std::function<void(const std::string&)> showFailure;
};

// One run: choose the LAS file, ask for the collar, convert it beside the
// LAS file. Exit status: 0 once converted; 1 when the choice was cancelled
// (nothing asked or written) or the conversion failed (after showFailure).
int RunFenwold(const FenwoldSeams& seams);

// The seams of the windowed program: the open-file dialog, CCoords and a
// message box.
FenwoldSeams DialogSeams();
