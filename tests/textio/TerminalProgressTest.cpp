// The progress line: on a terminal one line updated in place and erased at
// the end; on anything else (a file, a pipe) nothing at all.
#include "textio/TerminalProgress.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

using std::chrono::milliseconds;

void Work(textio::Progress& progress)
{
    for (std::uint64_t done = 0; done <= 4; ++done)
        EXPECT_TRUE(progress.Step(done, 4)) << "the line never stops the work";
}

TEST(TerminalProgress, WritesNothingWhereThereIsNoTerminal)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        textio::TerminalProgress progress("converting", file, milliseconds(0));
        Work(progress);
    }
    EXPECT_EQ(std::ftell(file), 0L);
    std::fclose(file);
}

TEST(TerminalProgress, UpdatesOneLineOnATerminalAndErasesIt)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    std::FILE* terminal = std::fopen(ptsname(master), "w");
    ASSERT_NE(terminal, nullptr);
    {
        textio::TerminalProgress late("converting", terminal, milliseconds(60000));
        Work(late); // the work ended before the line was due
        textio::TerminalProgress progress("converting", terminal, milliseconds(0));
        Work(progress);
    }
    std::fclose(terminal);
    std::string shown(4096, '\0');
    const ssize_t got = read(master, shown.data(), shown.size());
    close(master);
    ASSERT_GT(got, 0);
    shown.resize(static_cast<std::size_t>(got));
    EXPECT_EQ(shown, "\rconverting 0%\rconverting 25%\rconverting 50%\rconverting 75%\rconverting 100%"
                     "\r" + std::string(std::strlen("converting 100%"), ' ') + "\r");
}

} // namespace
