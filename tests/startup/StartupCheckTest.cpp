// Whether the windowed programs can start, and how they fail when they cannot.
#include "NamedRows.h"
#include "startup/StartupCheck.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/wait.h>

namespace {

struct PlatformRow {
    const char* name;
    const char* platform;
    const char* x11;
    const char* wayland;
    bool available;
};

class Platform : public ::testing::TestWithParam<PlatformRow> {};

TEST_P(Platform, LooksAvailableOnlyWithWhatItNeeds)
{
    const PlatformRow& row = GetParam();
    EXPECT_EQ(startup::PlatformLooksAvailable(row.platform, row.x11, row.wayland), row.available);
}

INSTANTIATE_TEST_SUITE_P(
    StartupCheck, Platform,
    ::testing::Values(PlatformRow{"NothingSet", "", "", "", false}, PlatformRow{"XDisplay", "", ":0", "", true},
                      PlatformRow{"WaylandDisplay", "", "", "wayland-0", true},
                      PlatformRow{"XcbWithoutItsDisplay", "xcb", "", "w", false},
                      PlatformRow{"XcbWithItsDisplay", "xcb", ":0", "", true},
                      PlatformRow{"WaylandWithoutItsDisplay", "wayland-egl", ":0", "", false},
                      PlatformRow{"ListTriedInOrder", "wayland;xcb", ":1", "", true},
                      PlatformRow{"OffscreenNeedsNothing", "offscreen", "", "", true},
                      PlatformRow{"PlatformWithOptions", "minimal:fontengine=freetype", "", "", true}),
    RowName());

struct ProgramRow {
    const char* name;
    const char* program;
    const char* environment; // besides an environment without any display
    const char* arguments;
    bool onStandardOutput; // the message's stream: standard output, else standard error
    bool reachesQt;        // Qt tries the display and says why it fails, before the message
    const char* message;
};

class WithoutWindows : public ::testing::TestWithParam<ProgramRow> {};

// No display, or one that cannot be reached: the program says so and ends
// with status 1 rather than abort.
TEST_P(WithoutWindows, TheProgramSaysSoAndFails)
{
    const ProgramRow& row = GetParam();
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + row.environment
                              + " '" + row.program + "' " + row.arguments
                              + (row.onStandardOutput ? " 2>/dev/null" : " 2>&1 >/dev/null");
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    if (row.onStandardOutput || !row.reachesQt) {
        EXPECT_EQ(output, row.message);
    } else {
        EXPECT_TRUE(output.size() > std::strlen(row.message) && output.ends_with(row.message)) << output;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
}

const char* const kFenwoldMessage = "Fatal Error: MFC initialization failed\n";
const char* const kKestrixMessage =
    "kestrix: no display to open (set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen)\n";
INSTANTIATE_TEST_SUITE_P(
    StartupCheck, WithoutWindows,
    ::testing::Values(
        ProgramRow{"FenwoldWithoutADisplay", FENWOLD_PROGRAM, "", "ignored arguments", true, false, kFenwoldMessage},
        ProgramRow{"FenwoldWithAnUnreachableDisplay", FENWOLD_PROGRAM, "QT_QPA_PLATFORM=xcb DISPLAY=:9871", "", true,
                   true, kFenwoldMessage},
        ProgramRow{"KestrixWithoutADisplay", KESTRIX_PROGRAM, "", "", false, false, kKestrixMessage},
        ProgramRow{"KestrixOnXcbWithoutADisplay", KESTRIX_PROGRAM, "QT_QPA_PLATFORM=xcb", "", false, false,
                   kKestrixMessage},
        ProgramRow{"KestrixWithAnUnreachableDisplay", KESTRIX_PROGRAM, "DISPLAY=:9871", "", false, true,
                   kKestrixMessage},
        ProgramRow{"KestrixWithAnUnreachableDisplaySwitch", KESTRIX_PROGRAM, "", "-display :9871", false, true,
                   kKestrixMessage}),
    RowName());

} // namespace
