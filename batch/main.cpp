// kestrix-batch: the survey pipeline without windows.
#include "batch/BatchMain.h"
#include "batch/PlotHandover.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
#ifdef KESTRIX_BATCH_PLOT_PROGRAM
    // The plots are Qt widgets: the program beside this one draws them.
    if (AsksForPlot(std::vector<std::string>(argv + 1, argv + argc)))
        return HandOverToPlotProgram(KESTRIX_BATCH_PLOT_PROGRAM, argv, std::cerr);
#endif
    return BatchMain(argc, argv, nullptr);
}
