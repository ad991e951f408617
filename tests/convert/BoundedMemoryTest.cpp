// kestrix-batch convert reading gigabytes from a FIFO that this test fills:
// its peak memory stays small whatever the lines hold, and text past the
// limits ends it cleanly, with nothing written.
#include "ConvertTestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr long long kGiB = 1LL << 30;
constexpr long kMostKilobytes = 64'000'000 / 1024; // 64 MB

// Text to feed: `unit` repeated until `bytes` have gone (a multiple of it).
struct Stretch {
    std::string unit;
    long long bytes = 0;
};
Stretch Once(std::string text)
{
    const auto size = static_cast<long long>(text.size());
    return {std::move(text), size};
}

struct ChildEnd {
    int exitStatus = -1;
    long peakKilobytes = 0;
    std::string errors;
};

// Writes everything to `fd` until the reader goes away; false on any other failure.
bool Feed(int fd, const std::vector<Stretch>& stretches)
{
    for (const Stretch& s : stretches) {
        std::string chunk;
        while (chunk.size() < (1u << 20) && static_cast<long long>(chunk.size()) < s.bytes)
            chunk += s.unit;
        for (long long left = s.bytes; left > 0;) {
            const std::size_t size = static_cast<std::size_t>(std::min<long long>(left, static_cast<long long>(chunk.size())));
            const ssize_t written = write(fd, chunk.data(), size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                return errno == EPIPE;
            left -= written;
        }
    }
    return true;
}

// Runs kestrix-batch convert on a FIFO, feeds it and waits for its end.
ChildEnd ConvertFromFifo(const ScratchFolder& folder, const std::vector<Stretch>& stretches)
{
    const std::string fifo = folder / "in.las", out = folder / "out.txt", errors = folder / "errors";
    ChildEnd end;
    if (mkfifo(fifo.c_str(), 0600) != 0)
        return end;
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    std::string program = KESTRIX_BATCH, command = "convert", dashO = "-o";
    std::string in = fifo, output = out;
    char* argv[] = {program.data(), command.data(), in.data(), dashO.data(), output.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &files, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return end;

    // Opening for writing without blocking succeeds once the child reads.
    const auto oldPipeHandler = std::signal(SIGPIPE, SIG_IGN);
    int fd = -1;
    while ((fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK)) < 0 && errno == ENXIO && waitpid(pid, nullptr, WNOHANG) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (fd >= 0) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        EXPECT_TRUE(Feed(fd, stretches)) << std::strerror(errno);
        close(fd);
    }
    std::signal(SIGPIPE, oldPipeHandler);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status))
        end.exitStatus = WEXITSTATUS(status);
    end.peakKilobytes = usage.ru_maxrss;
    end.errors = ReadBytes(errors);
    return end;
}

struct Case {
    const char* name;
    std::vector<Stretch> input;
    int exitStatus;
    std::string errors; // "@" stands for the FIFO's path
    std::string records; // the data lines written, without CR, on success
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class BoundedMemory : public testing::TestWithParam<Case> {};

TEST_P(BoundedMemory, PeakUnder64MegabytesAndACleanEnd)
{
    const Case& c = GetParam();
    ScratchFolder folder;
    const ChildEnd end = ConvertFromFifo(folder, c.input);
    EXPECT_EQ(end.exitStatus, c.exitStatus);
    EXPECT_LT(end.peakKilobytes, kMostKilobytes);
    std::string errors = c.errors;
    if (const auto at = errors.find('@'); at != std::string::npos)
        errors.replace(at, 1, folder / "in.las");
    EXPECT_EQ(end.errors, errors);
    if (c.exitStatus == 0) {
        const std::string raw = WithoutCR(ReadBytes(folder / "out.txt"));
        EXPECT_EQ(raw.substr(raw.find('\n', raw.find("Declination")) + 1), c.records);
    } else {
        EXPECT_EQ(folder.FileCount(), 2) << "only the FIFO and the error text; no raw survey or scratch file";
    }
}

const std::string kOneCurve = "~C\n D.M : DEPTH\n~A\n";

INSTANTIATE_TEST_SUITE_P(
    ConvertFromAPipe, BoundedMemory,
    testing::Values(
        Case{"GigabyteLineBeforeTheCurves",
             {Once("~V\n"), Stretch{"x ", 3 * kGiB}, Once("\n" + kOneCurve + "1.5\n2.5\n")},
             0,
             "kestrix-batch: Warning: the curve names lack MagX, MagY, MagZ, AccX, AccY, AccZ; kestrix will not open the file\n",
             "     DEPTH\n   1.50000\n   2.50000\n"},
        Case{"GigabyteDataLineAfterItsRecord", {Once(kOneCurve + "1 "), Stretch{"2 ", 2 * kGiB}, Once("\n3\n")}, 0,
             "kestrix-batch: Warning: the curve names lack MagX, MagY, MagZ, AccX, AccY, AccZ; kestrix will not open the file\n",
             "     DEPTH\n   1.00000\n   3.00000\n"},
        Case{"GigabyteValue", {Once(kOneCurve + "7\n"), Stretch{"1", kGiB}}, 1,
             "@:5: a data value longer than 1048576 characters\n", ""},
        Case{"GigabyteCurveName", {Once("~C\n D.M :"), Stretch{"n", kGiB}}, 1,
             "@:2: a curve name longer than 1048576 characters\n", ""}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

} // namespace
