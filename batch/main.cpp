// kestrix-batch: the survey pipeline without windows.
#include "batch/BatchOptions.h"
#include "batch/ConvertCommand.h"
#include "batch/SurveyCommands.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

int Run(const std::vector<std::string>& args)
{
    if (!args.empty() && args[0] == "convert")
        return RunConvertCommand(std::vector<std::string>(args.begin() + 1, args.end()), std::cout, std::cerr);

    SurveyOptions options;
    std::string error;
    if (!ParseSurveyOptions(args, options, error)) {
        std::cerr << "kestrix-batch: " << error << '\n' << kUsage;
        return 2;
    }
    return RunSurveyCommand(options, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    // Caught here so that the stack unwinds and a half-written file is removed.
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "kestrix-batch: " << e.what() << '\n';
        return 1;
    }
}
