#include "startup/StartupCheck.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace startup {
namespace {

std::atomic<const StartupFailure*> g_guarded{nullptr};
QtMessageHandler g_previousHandler = nullptr;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (const StartupFailure* failure = g_guarded.load(); type == QtFatalMsg && failure) {
        ReportStartupFailure(*failure);
        _exit(1);
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

std::string_view Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

bool PlatformLooksAvailable(std::string_view qpaPlatform, std::string_view x11Display,
                            std::string_view waylandDisplay)
{
    if (qpaPlatform.empty())
        return !x11Display.empty() || !waylandDisplay.empty();
    while (true) {
        const std::size_t end = qpaPlatform.find(';');
        std::string_view name = qpaPlatform.substr(0, end);
        name = name.substr(0, name.find(':')); // "name:options"
        if (name == "xcb") {
            if (!x11Display.empty())
                return true;
        } else if (name.starts_with("wayland")) {
            if (!waylandDisplay.empty())
                return true;
        } else if (!name.empty()) {
            return true;
        }
        if (end == std::string_view::npos)
            return false;
        qpaPlatform.remove_prefix(end + 1);
    }
}

bool PlatformLooksAvailableHere(std::string_view x11DisplayOption)
{
    return PlatformLooksAvailable(Environment("QT_QPA_PLATFORM"),
                                  x11DisplayOption.empty() ? Environment("DISPLAY") : x11DisplayOption,
                                  Environment("WAYLAND_DISPLAY"));
}

std::string_view X11DisplayOption(int argc, char* argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0 || std::strcmp(argv[i], "--display") == 0)
            return argv[i + 1];
    }
    return {};
}

int ReportStartupFailure(const StartupFailure& failure)
{
    std::fwrite(failure.message.data(), 1, failure.message.size(), failure.stream);
    std::fflush(failure.stream);
    return 1;
}

void GuardStartup(const StartupFailure& failure)
{
    g_guarded = &failure;
    g_previousHandler = qInstallMessageHandler(StartupMessageHandler);
}

void StartupFinished() { g_guarded = nullptr; }

} // namespace startup
