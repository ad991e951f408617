// kestrix-batch as a report script runs it: a child process per command,
// timed from start to exit, with the child's peak resident memory. A dump of
// a one-row survey shows what the program costs before it does any work; the
// conversion of a LAS file of 200000 rows and 10 curves (about 26 MB) shows
// that the converter streams; `wc -w` in the C locale on the same file, run
// the same way beside it, is the pace the converter is held to. The files are written to /tmp when the program
// starts and removed when it ends.
#include "ChildProgram.h"
#include "textio/NumberText.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kCurves = 10;
constexpr int kLasRows = 200000;

std::string g_surveyPath;
std::string g_lasPath;
std::string g_rawPath;

// Runs `program` with `args`, its output and errors to /dev/null. The
// child's peak resident size in kilobytes, or -1 when it failed.
long RunChild(const char* program, const std::vector<std::string>& args)
{
    const pid_t child = StartProgram(program, args, "/dev/null");
    if (child < 0)
        return -1;
    const Finished run = Wait(child);
    return WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0 ? run.peakKib : -1;
}

void RunAndReport(benchmark::State& state, const std::vector<std::string>& args, const char* program = KESTRIX_BATCH)
{
    long peakKib = 0;
    for (auto _ : state) {
        const long kib = RunChild(program, args);
        if (kib < 0) {
            state.SkipWithError("the program failed");
            break;
        }
        peakKib = std::max(peakKib, kib);
    }
    state.counters["peak_rss_MB"] = static_cast<double>(peakKib) / 1024.0;
}

void BM_DumpOneRow(benchmark::State& state)
{
    RunAndReport(state, {"dump", g_surveyPath});
}
BENCHMARK(BM_DumpOneRow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ConvertLas(benchmark::State& state)
{
    RunAndReport(state, {"convert", g_lasPath, "-o", g_rawPath});
}
BENCHMARK(BM_ConvertLas)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_WordCountLas(benchmark::State& state)
{
    RunAndReport(state, {"LC_ALL=C", "wc", "-w", g_lasPath}, "/usr/bin/env");
}
BENCHMARK(BM_WordCountLas)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

bool WriteText(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

bool WriteOneRowSurvey(const std::string& path)
{
    return WriteText(path, "Collar coordinates:\nEasting   512430.00\nNorthing 7034815.00\nHeight       286.00\n"
                           "Declination   12.50\n     DEPTH       MagX       MagY       MagZ       AccX       AccY"
                           "       AccZ\n   0.00000    0.04635    0.11427    0.50539    6.16412   -7.34778    "
                           "2.03741\n");
}

// A LAS 2.0 file of kLasRows depths, ten values of 13 characters to a line.
bool WriteLasFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::string text = "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n"
                       " WRAP.   NO  : ONE LINE PER DEPTH STEP\r\n~CURVE INFORMATION\r\n DEPT.M : DEPTH\r\n";
    for (const char* curve : {"MagX", "MagY", "MagZ", "AccX", "AccY", "AccZ", "TEMP", "GR", "RES"})
        textio::AppendFormat(text, " %s.U : %s\r\n", curve, curve);
    text += "~A\r\n";
    std::uint64_t state = 1;
    bool written = true;
    for (int row = 0; row < kLasRows && written; ++row) {
        textio::AppendFormat(text, "%12.4f", row * 0.05);
        for (int c = 1; c < kCurves; ++c) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            textio::AppendFormat(text, " %12.5f", static_cast<double>(state >> 40) / 16777216.0 * 4000.0 - 2000.0);
        }
        text += "\r\n";
        if (text.size() > (1 << 16) || row + 1 == kLasRows) {
            written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
            text.clear();
        }
    }
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string base = "/tmp/kestrix-batch-bench-" + std::to_string(getpid());
    g_surveyPath = base + "-survey.txt";
    g_lasPath = base + ".las";
    g_rawPath = base + "-converted.txt";
    int status = 0;
    if (WriteOneRowSurvey(g_surveyPath) && WriteLasFile(g_lasPath)) {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    } else {
        std::fprintf(stderr, "batch_bench: cannot write the input files under /tmp\n");
        status = 1;
    }
    for (const std::string& path : {g_surveyPath, g_lasPath, g_rawPath})
        std::remove(path.c_str());
    return status;
}
