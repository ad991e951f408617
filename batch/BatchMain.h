#pragma once

#include "batch/PlotRenderer.h"

// The body of kestrix-batch's main(): runs the words of `argv` after the
// program name, turns an escaping exception into a message, and reports
// output lost when the standard output closes. Returns the exit status.
// kestrix-batch and kestrix-batch-plot share it, so that both answer every
// command line alike.
int BatchMain(int argc, char** argv, PlotRenderer plot);
