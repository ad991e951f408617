#include "batch/PlotHandover.h"

#include "batch/BatchOptions.h"

bool AsksForPlot(const std::vector<std::string>& args)
{
    if (args.empty() || args[0] != "plot")
        return false;
    SurveyOptions options;
    std::string error;
    return ParseSurveyOptions(args, options, error);
}
