#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// kestrix-batch plot is drawn by a Qt program installed beside kestrix-batch,
// so that no other command loads Qt.

// Whether the words after the program name are a well-formed plot command.
// Bad usage is answered by kestrix-batch itself, as for any command.
bool AsksForPlot(const std::vector<std::string>& args);

// Runs `program`, a file in the folder of the running executable, in place of
// this process with the same words: its output and exit status are
// kestrix-batch's. Returns only when it cannot be run: exit status 1, with
// the reason on `err`.
int HandOverToPlotProgram(const char* program, char** argv, std::ostream& err);
