// fenwold: converts one LAS file into a raw survey file beside it. The
// command line is ignored.
#include "convert/fenwold/FenwoldFlow.h"
#include "convert/fenwold/StartupCheck.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int, char**)
{
    if (!PlatformLooksAvailable(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                                std::getenv("WAYLAND_DISPLAY"))) {
        std::fwrite(kStartupFailure.data(), 1, kStartupFailure.size(), stdout);
        return 1;
    }
    GuardStartup();
    static char programName[] = "fenwold";
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Fenwold"));
    StartupFinished();
    return RunFenwold(DialogSeams());
}
