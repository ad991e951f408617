#include "convert/fenwold/StartupCheck.h"

#include <QString>
#include <QtGlobal>
#include <atomic>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

bool Named(const char* value) { return value && *value; }

std::atomic<bool> g_starting{false};
QtMessageHandler g_previousHandler = nullptr;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg && g_starting) {
        std::fwrite(kStartupFailure.data(), 1, kStartupFailure.size(), stdout);
        std::fflush(stdout);
        _exit(1);
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

bool PlatformLooksAvailable(const char* qpaPlatform, const char* display, const char* waylandDisplay)
{
    const std::string platforms = Named(qpaPlatform) ? qpaPlatform : "";
    if (platforms.empty())
        return Named(display) || Named(waylandDisplay);
    // A list such as "wayland;xcb" is tried in order; one that can open is enough.
    std::size_t start = 0;
    while (start <= platforms.size()) {
        std::size_t end = platforms.find(';', start);
        if (end == std::string::npos)
            end = platforms.size();
        std::string name = platforms.substr(start, end - start);
        name = name.substr(0, name.find(':')); // "name:options"
        if (name == "xcb") {
            if (Named(display))
                return true;
        } else if (name.rfind("wayland", 0) == 0) {
            if (Named(waylandDisplay))
                return true;
        } else if (!name.empty()) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

void GuardStartup()
{
    g_starting = true;
    g_previousHandler = qInstallMessageHandler(StartupMessageHandler);
}

void StartupFinished()
{
    g_starting = false;
}
