#pragma once

#include "batch/PlotRenderer.h"

#include <iosfwd>
#include <string>
#include <vector>

// Runs kestrix-batch on the words after the program name. Exit status 0 on
// success, 2 on bad usage (with the usage on `err`), 1 or 2 on a failure as
// the command says, 1 when `out` fails to take the output. `plot` draws the
// pictures of kestrix-batch plot; without it plot is not available.
int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             PlotRenderer plot = nullptr);
