// fenwold: converts one LAS file into a raw survey file beside it. The
// command line is ignored but for --help.
#include "convert/fenwold/FenwoldFlow.h"
#include "startup/StartupCheck.h"
#include "textio/ScratchFiles.h"

#include <QApplication>
#include <cstdio>

namespace {
const startup::StartupFailure kNoWindows{stdout, "Fatal Error: MFC initialization failed\n"};
} // namespace

int main(int argc, char** argv)
{
    if (AsksForHelp(argc, argv)) {
        std::fputs(FenwoldUsage(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    // A file-size limit makes a write fail and be reported, not kill the program.
    textio::ReportOversizedWritesAsFailures();
    if (!startup::PlatformLooksAvailableHere())
        return startup::ReportStartupFailure(kNoWindows);
    startup::GuardStartup(kNoWindows);
    static char programName[] = "fenwold";
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Fenwold"));
    startup::StartupFinished();
    return RunFenwold(DialogSeams());
}
