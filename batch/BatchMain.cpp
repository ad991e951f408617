#include "batch/BatchMain.h"

#include "batch/RunBatch.h"
#include "textio/ScratchFiles.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

int BatchMain(int argc, char** argv, PlotRenderer plot)
{
    textio::ReportOversizedWritesAsFailures();
    std::ios::sync_with_stdio(false);
    int status = 1;
    // Caught here so that the stack unwinds and a half-written file is removed.
    try {
        status = RunBatch(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, plot);
    } catch (const std::exception& e) {
        std::cerr << "kestrix-batch: " << e.what() << '\n';
        return 1;
    }
    // RunBatch flushed the output; a file system may report a lost write
    // only when the file is closed.
    if (std::fclose(stdout) != 0 && status == 0) {
        std::cerr << "kestrix-batch: failed to write the standard output\n";
        return 1;
    }
    return status;
}
