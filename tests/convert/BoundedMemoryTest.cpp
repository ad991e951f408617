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
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr long long kGiB = 1LL << 30;
constexpr long kMostKilobytes = 64'000'000 / 1024; // 64 MB

// Text to feed: `unit` written `times` times over.
struct Stretch {
    std::string unit;
    long long times = 1;
};

// Writes every stretch to `fd` until the reader goes away; false on any other failure.
bool Feed(int fd, const std::vector<Stretch>& stretches)
{
    for (const auto& [unit, times] : stretches) {
        const long long perChunk = std::min<long long>(times, (1 << 20) / static_cast<long long>(unit.size()) + 1);
        std::string chunk;
        for (long long i = 0; i < perChunk; ++i)
            chunk += unit;
        for (long long left = times; left > 0; left -= perChunk) {
            std::string_view rest(chunk.data(), static_cast<std::size_t>(std::min(left, perChunk)) * unit.size());
            while (!rest.empty()) {
                const ssize_t written = write(fd, rest.data(), rest.size());
                if (written < 0 && errno != EINTR)
                    return errno == EPIPE;
                rest.remove_prefix(static_cast<std::size_t>(std::max<ssize_t>(written, 0)));
            }
        }
    }
    return true;
}

struct ChildEnd {
    int exitStatus = -1;
    long peakKilobytes = 0;
    std::string errors;
};

// Runs kestrix-batch convert on a FIFO, feeds it and waits for its end.
ChildEnd ConvertFromFifo(const ScratchFolder& folder, const std::vector<Stretch>& stretches)
{
    const std::string fifo = folder / "in.las", out = folder / "out.txt", errors = folder / "errors";
    ChildEnd end;
    if (mkfifo(fifo.c_str(), 0600) != 0)
        return end;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open("/dev/null", O_WRONLY), 1);
        dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        execl(KESTRIX_BATCH, KESTRIX_BATCH, "convert", fifo.c_str(), "-o", out.c_str(), nullptr);
        _exit(127);
    }
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
    end.errors = ReadFile(errors);
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
        const std::string raw = WithoutCR(ReadFile(folder / "out.txt"));
        EXPECT_EQ(raw.substr(raw.find('\n', raw.find("Declination")) + 1), c.records);
    } else {
        EXPECT_EQ(folder.Entries().size(), 2u) << "only the FIFO and the error text; no raw survey or scratch file";
    }
}

const std::string kOneCurve = "~C\n D.M : DEPTH\n~A\n";
const std::string kWarning = "kestrix-batch: Warning: the curve names lack MagX, MagY, MagZ, AccX, AccY, AccZ; kestrix will "
                             "not open the file\n";

INSTANTIATE_TEST_SUITE_P(
    ConvertFromAPipe, BoundedMemory,
    testing::Values(
        Case{"GigabyteLineBeforeTheCurves", {{"~V\n"}, {"x ", 3 * kGiB / 2}, {"\n" + kOneCurve + "1.5\n2.5\n"}}, 0,
             kWarning, "     DEPTH\n   1.50000\n   2.50000\n"},
        Case{"GigabyteDataLineAfterItsRecord", {{kOneCurve + "1 "}, {"2 ", kGiB}, {"\n3\n"}}, 0, kWarning,
             "     DEPTH\n   1.00000\n   3.00000\n"},
        Case{"GigabyteValue", {{kOneCurve + "7\n"}, {"1", kGiB}}, 1,
             "@:5: a data value longer than 1048576 characters\n", ""},
        Case{"GigabyteCurveName", {{"~C\n D.M :"}, {"n", kGiB}}, 1,
             "@:2: a curve name longer than 1048576 characters\n", ""}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

} // namespace
