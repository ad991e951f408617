// The azimuth fit on arbitrary sets of up to 100 points (as many as a survey holds). Control points are
// 32-bit integers: from them no NaN and no infinity may come.
#include "survey/AzimuthFit.h"
#include "survey/KestrixDoc.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace survey;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int m = 1 + data[0] % 5;
    const bool integers = data[0] & 0x80;
    ++data;
    --size;
    constexpr int kMost = CKestrixDoc::kMaxControlPoints;
    double x[kMost], y[kMost];
    int n = 0;
    const std::size_t pointSize = integers ? 8 : 16;
    for (; n < kMost && size >= pointSize; ++n, data += pointSize, size -= pointSize) {
        if (integers) {
            std::int32_t xi, yi;
            std::memcpy(&xi, data, 4);
            std::memcpy(&yi, data + 4, 4);
            x[n] = xi;
            y[n] = yi;
        } else {
            std::memcpy(&x[n], data, 8);
            std::memcpy(&y[n], data + 8, 8);
        }
    }
    double c[5];
    OrthogonalFit fit;
    PolyFit(m, x, y, n, c, &fit);
    if (integers && n > 0) {
        for (int i = 0; i < m; ++i)
            if (!std::isfinite(c[i]))
                std::abort();
        for (int k = 0; k < n; ++k)
            if (!std::isfinite(fit.Evaluate(x[k])))
                std::abort();
    }
    return 0;
}
