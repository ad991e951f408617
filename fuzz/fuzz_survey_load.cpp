// The raw survey loader on arbitrary bytes, then everything a user can do with
// what it loaded: edits, recalculation, the XYZ export and the listing.
#include "EditCommands.h"
#include "KestrixDoc.h"
#include "LineSource.h"
#include "ListingRows.h"
#include "FuzzSupport.h"
#include "XyzExport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CKestrixDoc doc;
    StringLineSource source(text);
    NullSink sink;
    const LoadResult result = doc.LoadRawSurvey("/tmp/fuzz.txt", source, sink);

    // The last bytes steer a few edits, whatever the load gave.
    const std::uint8_t steer = size ? data[size - 1] : 0;
    if (doc.m_nObs > 0 && (steer & 1))
        doc.DeleteObservation(steer % doc.m_nObs);
    // Control points as the azimuth view would give them: whole plot units.
    auto plotUnits = [](double value) {
        return static_cast<std::int32_t>(std::isfinite(value) ? std::clamp(value, -2e9, 2e9) : 0.0);
    };
    for (int i = 0; i < doc.m_nObs && i < (steer >> 4); ++i)
        doc.AddControlPoint(plotUnits(doc.m_pObs[i].Depth * 100) ^ i, plotUnits(doc.m_pObs[i].MagX * 1e4));
    const int fits[] = {ID_EDIT_FIT_DEGREE_1, ID_EDIT_FIT_DEGREE_2, ID_EDIT_FIT_DEGREE_3, ID_EDIT_FIT_DEGREE_4};
    doc.OnCommand(fits[(steer >> 1) & 3]);
    if (steer & 8)
        doc.OnCommand(ID_ROLL_SUBTRACT_90);

    if (result != LoadResult::OutOfMemory) {
        const std::string path = FuzzTempPath(".xyz");
        WriteXyzFile(doc, path);
        std::remove(path.c_str());
        ListingAsText(BuildListing(doc));
    }
    return 0;
}
