// Whether the windowed programs can start, and how they fail when they cannot.
#include "NamedRows.h"
#include "startup/StartupCheck.h"

#include <gtest/gtest.h>

#include <cstdio>
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

TEST(StartupCheck, DisplaySwitchIsTheArgumentAfterIt)
{
    char program[] = "kestrix", display[] = "-display", value[] = ":3", file[] = "a.txt", doubled[] = "--display";
    char* withSwitch[] = {program, file, display, value};
    char* withDoubleDash[] = {program, doubled, value};
    char* withoutValue[] = {program, file, display};
    EXPECT_EQ(startup::X11DisplayOption(4, withSwitch), ":3");
    EXPECT_EQ(startup::X11DisplayOption(3, withDoubleDash), ":3");
    EXPECT_EQ(startup::X11DisplayOption(3, withoutValue), "");
}

struct ProgramRow {
    const char* name;
    const char* program;
    const char* environment; // besides an environment without any display
    bool onStandardOutput;   // the message's stream: standard output, else standard error
    const char* message;
};

class WithoutWindows : public ::testing::TestWithParam<ProgramRow> {};

// No display, or one that cannot be reached: the program says so and ends
// with status 1 rather than abort.
TEST_P(WithoutWindows, TheProgramSaysSoAndFails)
{
    const ProgramRow& row = GetParam();
    const std::string command = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + row.environment
                              + " '" + row.program + "' ignored arguments "
                              + (row.onStandardOutput ? "2>/dev/null" : "2>&1 >/dev/null");
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    // Qt may say why first on standard error; the program's message ends it.
    EXPECT_TRUE(output.ends_with(row.message)) << output;
    if (row.onStandardOutput) {
        EXPECT_EQ(output, row.message);
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
}

const char* const kFenwoldMessage = "Fatal Error: MFC initialization failed\n";
const char* const kKestrixMessage =
    "kestrix: no display to open (set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen)\n";
INSTANTIATE_TEST_SUITE_P(
    StartupCheck, WithoutWindows,
    ::testing::Values(ProgramRow{"FenwoldWithoutADisplay", FENWOLD_PROGRAM, "", true, kFenwoldMessage},
                      ProgramRow{"FenwoldWithAnUnreachableDisplay", FENWOLD_PROGRAM, "QT_QPA_PLATFORM=xcb DISPLAY=:9871",
                                 true, kFenwoldMessage},
                      ProgramRow{"KestrixWithoutADisplay", KESTRIX_PROGRAM, "", false, kKestrixMessage},
                      ProgramRow{"KestrixOnXcbWithoutADisplay", KESTRIX_PROGRAM, "QT_QPA_PLATFORM=xcb", false,
                                 kKestrixMessage},
                      ProgramRow{"KestrixWithAnUnreachableDisplay", KESTRIX_PROGRAM, "DISPLAY=:9871", false,
                                 kKestrixMessage}),
    RowName());

} // namespace
