// Converter throughput on a generated LAS file of about 210 MB with 10
// curves, and the process's peak resident memory. The file is written to
// /tmp when the program starts and removed when it ends.
#include "convert/LasConverter.h"
#include "textio/NumberText.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace convert;

namespace {

constexpr int kCurves = 10;
constexpr std::int64_t kTargetBytes = 210LL * 1000 * 1000;

std::string g_lasPath;
std::string g_rawPath;
std::int64_t g_lasBytes = 0;

double PeakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// Writes a LAS 2.0 file of about kTargetBytes: a header with a comment line
// in the curve list, then one line per depth with ten values of mixed
// widths, nulls among them.
bool WriteLasFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::string text = "~VERSION INFORMATION\r\n VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n"
                       " WRAP.   NO  : ONE LINE PER DEPTH STEP\r\n~CURVE INFORMATION\r\n#MNEM.UNIT  : DESCRIPTION\r\n"
                       " DEPT.M : DEPTH\r\n";
    for (int c = 1; c < kCurves; ++c)
        textio::AppendFormat(text, " C%02d.U : Curve %d\r\n", c, c);
    text += "~A\r\n";
    std::uint64_t state = 1;
    std::int64_t written = 0;
    for (std::int64_t row = 0; written < kTargetBytes; ++row) {
        textio::AppendFormat(text, "%10.3f", row * 0.1);
        for (int c = 1; c < kCurves; ++c) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            const double value = static_cast<double>(state >> 40) / 16777216.0 * 4000.0 - 2000.0;
            if ((state >> 20) % 97 == 0)
                text += "  -999.2500";
            else
                textio::AppendFormat(text, c % 3 ? " %10.5f" : " %10.3f", value);
        }
        text += "\r\n";
        if (text.size() > (1 << 16)) {
            if (std::fwrite(text.data(), 1, text.size(), file) != text.size())
                break;
            written += static_cast<std::int64_t>(text.size());
            text.clear();
        }
    }
    written += static_cast<std::int64_t>(std::fwrite(text.data(), 1, text.size(), file));
    g_lasBytes = written;
    return std::fclose(file) == 0 && written >= kTargetBytes;
}

void BM_ConvertLasFile(benchmark::State& state)
{
    const Collar collar{512430.0, 7034815.0, 286.0, 12.5};
    std::int64_t records = 0;
    for (auto _ : state) {
        const ConvertResult result = ConvertLasFile(g_lasPath, g_rawPath, collar);
        if (!result.Ok()) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        records = result.recordCount;
    }
    state.SetBytesProcessed(state.iterations() * g_lasBytes);
    state.counters["records"] = static_cast<double>(records);
    state.counters["las_MB"] = static_cast<double>(g_lasBytes) / 1e6;
    state.counters["peak_rss_MB"] = PeakRssMegabytes();
}
BENCHMARK(BM_ConvertLasFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    const std::string base = "/tmp/kestrix-convert-bench-" + std::to_string(getpid());
    g_lasPath = base + ".las";
    g_rawPath = base + ".txt";
    if (!WriteLasFile(g_lasPath)) {
        std::fprintf(stderr, "convert_bench: cannot write %s\n", g_lasPath.c_str());
        std::remove(g_lasPath.c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(g_lasPath.c_str());
    std::remove(g_rawPath.c_str());
    return 0;
}
