#include "batch/RunBatch.h"

#include "batch/BatchOptions.h"
#include "batch/ConvertCommand.h"
#include "batch/FieldCommand.h"
#include "batch/SurveyCommands.h"

#include <ostream>

namespace {

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, PlotRenderer plot)
{
    if (!args.empty() && args[0] == "convert")
        return RunConvertCommand(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    if (!args.empty() && args[0] == "field")
        return RunFieldCommand(std::vector<std::string>(args.begin() + 1, args.end()), out, err);

    SurveyOptions options;
    std::string error;
    if (!ParseSurveyOptions(args, options, error)) {
        err << "kestrix-batch: " << error << '\n' << kUsage;
        return 2;
    }
    return RunSurveyCommand(options, out, err, plot);
}

} // namespace

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, PlotRenderer plot)
{
    const int status = RunCommand(args, out, err, plot);
    // Every command prints what it made (a path, a table): output that did
    // not arrive is a failure of the command, whichever it was.
    if (!out.flush() && status == 0) {
        err << "kestrix-batch: failed to write the standard output\n";
        return 1;
    }
    return status;
}
