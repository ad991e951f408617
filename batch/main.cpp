// kestrix-batch: the survey pipeline without windows.
#include "batch/RunBatch.h"
#include "textio/ScratchFiles.h"
#ifdef KESTRIX_BATCH_PLOT
#include "batch/plot/BatchPlot.h"
#endif

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#ifdef KESTRIX_BATCH_PLOT
constexpr PlotRenderer kPlot = RenderBatchPlot;
#else
constexpr PlotRenderer kPlot = nullptr;
#endif

int main(int argc, char** argv)
{
    textio::ReportOversizedWritesAsFailures();
    std::ios::sync_with_stdio(false);
    int status = 1;
    // Caught here so that the stack unwinds and a half-written file is removed.
    try {
        status = RunBatch(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, kPlot);
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
