#pragma once

#include <cstdio>
#include <string_view>

// The start-up check of the windowed programs: before Qt opens a window
// system, whether it can, and a plain failure instead of Qt's abort when it
// cannot after all.
namespace startup {

// Whether Qt can be expected to open a window system: a platform named in
// `qpaPlatform` (QT_QPA_PLATFORM; a list such as "wayland;xcb" is tried in
// order) or, with none named, a display. A display server's platform needs
// its display named (`x11Display` for xcb, `waylandDisplay` for wayland);
// the others (offscreen, minimal, ...) need nothing. Empty means unset.
bool PlatformLooksAvailable(std::string_view qpaPlatform, std::string_view x11Display,
                            std::string_view waylandDisplay);

// The same for this process's environment; `x11DisplayOption`, the value of
// a -display switch, stands in for DISPLAY when given.
bool PlatformLooksAvailableHere(std::string_view x11DisplayOption = {});

// The X display named by a -display (or --display) switch among `argv`, or
// empty.
std::string_view X11DisplayOption(int argc, char* argv[]);

// What a program writes, and where, when its windows cannot start.
struct StartupFailure {
    std::FILE* stream;
    std::string_view message;
};

// Writes `failure` and returns the exit status 1.
int ReportStartupFailure(const StartupFailure& failure);

// From now until StartupFinished(), a fatal message from Qt (a platform that
// cannot be opened after all) reports `failure` and ends the process with
// status 1. `failure` must live that long.
void GuardStartup(const StartupFailure& failure);
void StartupFinished();

} // namespace startup
