// The LAS converter on arbitrary bytes under small limits taken from the
// first bytes: whatever it writes must load, and the memory it holds at any
// moment stays within what the limits allow, however long the lines. The top
// two bits of the first byte choose the curves as written, the converter's
// own proposal or a fixed mapping, so that mapped conversions, LAS 3.0 and
// every text encoding (chosen by the bytes themselves) are covered.
#include "convert/LasConverter.h"
#include "fuzz/FuzzSupport.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"

#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace survey;
using namespace convert;

namespace {

// Bytes allocated and not yet freed while a conversion runs, and their peak.
bool g_counting = false;
std::int64_t g_live = 0;
std::int64_t g_peak = 0;

void OnMalloc(const volatile void*, std::size_t size)
{
    if (!g_counting)
        return;
    g_live += static_cast<std::int64_t>(size);
    g_peak = std::max(g_peak, g_live);
}

void OnFree(const volatile void* pointer)
{
    if (g_counting && pointer)
        g_live -= static_cast<std::int64_t>(__sanitizer_get_allocated_size(pointer));
}

// What a conversion may hold besides text bounded by the limits: the output
// writer's buffer (128 KiB), two stdio buffers, paths and messages, and the
// few short header values the scan keeps (a header line, the NULL value, the
// names of text curves).
constexpr std::int64_t kFixedBytes = 164 * 1024;
// The widest field a value can take when formatted ("%.5f" of the largest double).
constexpr std::int64_t kWidestValue = 320;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string las = FuzzTempPath(".las");
    const std::string raw = FuzzTempPath(".txt");
    std::FILE* f = std::fopen(las.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    ConvertLimits limits;
    limits.longestText = 1 + (size > 0 ? data[0] % 64 : 0);
    limits.mostCurves = 1 + (size > 1 ? data[1] % 16 : 0);
    const int mappingChoice = size > 0 ? data[0] >> 6 : 0;
    std::optional<CurveMapping> mapping;
    if (mappingChoice == 1 || mappingChoice == 3) {
        mapping = ProposeCurveMapping(ReadLasCurves(las, limits).preview.curves).Mapping();
    } else if (mappingChoice == 2) {
        std::string error;
        mapping = ParseCurveMapping("DEPTH=DEPT:ft,MagX=HX:nT,MagY=HY:uT,MagZ=HZ:G,AccX=AX:mg,AccY=AY:m/s2,AccZ=AZ:g",
                                    error);
    }
    const Collar collar{500000, 10000000, -35, 12.5};
    g_live = g_peak = 0;
    g_counting = true;
    const ConvertResult result =
        mapping ? ConvertLasFile(las, raw, collar, *mapping, limits) : ConvertLasFile(las, raw, collar, limits);
    g_counting = false;
    // A name and a token cut by a read seam, a record with room to grow.
    const std::int64_t allowed = kFixedBytes + 4 * static_cast<std::int64_t>(limits.longestText)
                               + 2 * limits.mostCurves * (kWidestValue + 1);
    if (g_peak > allowed) {
        std::fprintf(stderr, "a conversion held %lld bytes, more than the %lld its limits allow\n",
                     static_cast<long long>(g_peak), static_cast<long long>(allowed));
        std::abort();
    }
    if (result.Ok()) {
        FileLineSource source(raw);
        if (!source.IsOpen())
            std::abort(); // a successful conversion always leaves its file
        CKestrixDoc doc;
        NullSink sink;
        doc.LoadRawSurvey(raw, source, sink);
    }
    std::remove(las.c_str());
    std::remove(raw.c_str());
    return 0;
}
