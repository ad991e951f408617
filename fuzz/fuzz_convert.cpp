// The LAS converter on arbitrary bytes; whatever it writes must load.
#include "KestrixDoc.h"
#include "LasConverter.h"
#include "LineSource.h"
#include "FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string las = FuzzTempPath(".las");
    const std::string raw = FuzzTempPath(".txt");
    std::FILE* f = std::fopen(las.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    const ConvertResult result = ConvertLasFile(las, raw, Collar{500000, 10000000, -35, 12.5});
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
