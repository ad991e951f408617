#pragma once

#include <string_view>

// The message fenwold prints on standard output when it cannot start its
// user interface.
inline constexpr std::string_view kStartupFailure = "Fatal Error: MFC initialization failed\n";

// Whether Qt can be expected to open a platform from the environment's
// QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY (null when unset): a display
// server platform needs its display named, others (offscreen, ...) need nothing.
bool PlatformLooksAvailable(const char* qpaPlatform, const char* display, const char* waylandDisplay);

// Until StartupFinished(), a fatal Qt message (a platform that cannot be
// opened after all) prints kStartupFailure and ends the process with status 1.
void GuardStartup();
void StartupFinished();
