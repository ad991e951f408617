#pragma once

#include "convert/Collar.h"
#include "convert/CurveMapping.h"
#include "convert/LasPreview.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What one run of fenwold needs from its user; the program passes dialogs,
// tests pass stand-ins.
struct FenwoldSeams {
    // The LAS file the user picked, or nothing when the choice was cancelled.
    std::function<std::optional<std::string>()> chooseLasFile;
    // Shows the curves with the proposed mapping (`remembered`: one confirmed
    // for an earlier file); the mapping confirmed, or nothing when cancelled.
    std::function<std::optional<convert::CurveMapping>(const convert::LasPreview&, const convert::MappingProposal&,
                                                       bool remembered)>
        askMapping;
    // The mapping last confirmed for a curve list (by its CurveListKey), and
    // remembering one.
    std::function<std::optional<std::string>(const std::string& key)> recallMapping;
    std::function<void(const std::string& key, const std::string& mapping)> rememberMapping;
    // Lets the user edit the collar, saying which values the LAS file gave
    // (`fromLas`, one line each); false when the user cancelled.
    std::function<bool(convert::Collar&, const std::vector<std::string>& fromLas)> askCollar;
    // The raw survey file to write, starting from `proposed`; the user is
    // asked before an existing file is replaced. Nothing when cancelled.
    std::function<std::optional<std::string>(const std::string& proposed)> chooseOutput;
    // Tells the user why the conversion failed.
    std::function<void(const std::string&)> showFailure;
    // Writes one line (given without its end) on standard output.
    std::function<void(const std::string&)> printLine;
    // Writes one warning line (given without its end) on standard error.
    std::function<void(const std::string&)> printWarning;
    // Tells the user, at the end, what was written and every warning.
    std::function<void(const std::string&)> showSummary;
};

// One run: choose the LAS file and read its curves, header and first records
// (a file that cannot be read fails before anything is asked); when its
// curves are not kestrix's own, confirm which curves give kestrix's columns;
// edit the collar, starting from what the LAS header holds; choose the raw
// survey file, proposed beside the LAS file; convert; print the path written
// with each warning on standard error, and show a summary: the path, the rows
// written and left out, the warnings. Exit status: 0 once converted, or when
// the mapping, the collar or the output was cancelled (a line says so;
// nothing is written or replaced); 1 when the choice of the LAS file was
// cancelled (nothing asked, written or printed) or the file cannot be
// converted (printed and shown with showFailure).
int RunFenwold(const FenwoldSeams& seams);

// What identifies a curve list for the remembered mapping: the mnemonics
// and units in order.
std::string CurveListKey(const std::vector<convert::LasCurve>& curves);

// The seams of the windowed program: the open-file dialog, CCoords, message
// boxes and the standard streams.
FenwoldSeams DialogSeams();

// Whether the command line asks for the usage ("--help" or "-h" as its first argument).
bool AsksForHelp(int argc, const char* const* argv);
// What `fenwold --help` prints.
const char* FenwoldUsage();
