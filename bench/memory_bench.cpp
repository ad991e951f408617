// kestrix's peak resident memory with a 200000-reading survey open: the
// program started on the offscreen platform with the survey, left until it
// has loaded, drawn its windows and gone idle, then read (VmHWM) and ended.
// Target: under 150 MB. The time shown is from the start to idle.
#include "ChildProgram.h"
#include "RawSurveyText.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string g_surveyPath;
std::vector<std::string> g_folders;

// The child's user and system time in clock ticks, or -1 once it is gone.
long CpuTicks(pid_t child)
{
    std::ifstream stat("/proc/" + std::to_string(child) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t afterName = text.rfind(')');
    if (afterName == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(afterName + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int k = 3; k <= 15 && fields >> field; ++k) { // fields 3 to 15 of proc(5)
        if (k == 14)
            utime = std::stol(field);
        if (k == 15)
            stime = std::stol(field);
    }
    return utime + stime;
}

// VmHWM of the child in kilobytes, or -1.
long PeakKib(pid_t child)
{
    std::ifstream status("/proc/" + std::to_string(child) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

void BM_KestrixPeakMemory(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    long peakKib = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const pid_t child = StartProgram(KESTRIX_PROGRAM, {g_surveyPath}, "/dev/null");
        // Idle: no processor time used over half a second, after the first.
        long ticks = -2, quietPolls = 0;
        auto busyUntil = start;
        while (quietPolls < 5) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const long now = CpuTicks(child);
            if (now < 0)
                break;
            quietPolls = now == ticks && Clock::now() - start > std::chrono::seconds(1) ? quietPolls + 1 : 0;
            if (now != ticks)
                busyUntil = Clock::now();
            ticks = now;
        }
        const long kib = PeakKib(child);
        kill(child, SIGTERM);
        Wait(child);
        if (kib < 0) {
            state.SkipWithError("kestrix ended before it went idle");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(busyUntil - start).count());
        peakKib = std::max(peakKib, kib);
    }
    state.counters["peak_MB"] = static_cast<double>(peakKib) / 1024.0;
}
BENCHMARK(BM_KestrixPeakMemory)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// A private home and runtime folder, so the program neither hands its file
// to a kestrix already running nor touches the user's settings.
bool MakePrivateEnvironment(const std::string& base)
{
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR"}) {
        std::string folder = base + "-" + name + "-XXXXXX";
        if (!mkdtemp(folder.data()))
            return false;
        g_folders.push_back(folder);
        if (setenv(name, folder.c_str(), 1) != 0)
            return false;
    }
    return setenv("QT_QPA_PLATFORM", "offscreen", 1) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string base = "/tmp/kestrix-memory-bench-" + std::to_string(getpid());
    g_surveyPath = base + ".txt";
    const QByteArray text = RawSurveyText(200000, 3.0, 0.01);
    std::FILE* file = std::fopen(g_surveyPath.c_str(), "wb");
    const bool written = file && std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), file)
                                     == static_cast<std::size_t>(text.size());
    if (!(file && std::fclose(file) == 0 && written && MakePrivateEnvironment(base))) {
        std::fprintf(stderr, "memory_bench: cannot prepare the survey and folders under /tmp\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(g_surveyPath.c_str());
    for (const std::string& folder : g_folders)
        std::filesystem::remove_all(folder);
    return 0;
}
