// kestrix-batch: the survey pipeline without windows.
#include "BatchOptions.h"
#include "ConvertCommand.h"
#include "SurveyCommands.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
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
