#include "batch/RunBatch.h"

#include "batch/BatchOptions.h"
#include "batch/ConvertCommand.h"
#include "batch/SurveyCommands.h"

#include <ostream>

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, PlotRenderer plot)
{
    if (!args.empty() && args[0] == "convert")
        return RunConvertCommand(std::vector<std::string>(args.begin() + 1, args.end()), out, err);

    SurveyOptions options;
    std::string error;
    if (!ParseSurveyOptions(args, options, error)) {
        err << "kestrix-batch: " << error << '\n' << kUsage;
        return 2;
    }
    return RunSurveyCommand(options, out, err, plot);
}
