// kestrix-batch: the survey pipeline without windows.
#include "batch/RunBatch.h"
#ifdef KESTRIX_BATCH_PLOT
#include "batch/plot/BatchPlot.h"
#endif

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
    std::ios::sync_with_stdio(false);
    // Caught here so that the stack unwinds and a half-written file is removed.
    try {
        return RunBatch(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, kPlot);
    } catch (const std::exception& e) {
        std::cerr << "kestrix-batch: " << e.what() << '\n';
        return 1;
    }
}
