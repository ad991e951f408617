// The raw survey loader on arbitrary bytes, then everything a user can do with
// what it loaded: edits, recalculation, the XYZ export and the listing. The
// same bytes handed out in pieces of a few characters must load the same, and
// a token over the loader's bound must never load. Whatever loads is finite.
#include "fuzz/FuzzSupport.h"
#include "survey/EditRecord.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/ListingRows.h"
#include "survey/XyzExport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace survey;

namespace {

class CountingSink : public MessageSink {
public:
    void ShowMessage(const std::string&) override { ++messages; }
    int messages = 0;
};

LoadResult Load(CKestrixDoc& doc, std::string_view text, std::size_t piece, int& messages)
{
    StringLineSource source(text, piece);
    CountingSink sink;
    const LoadResult result = doc.LoadRawSurvey("/tmp/fuzz.txt", source, sink);
    messages = sink.messages;
    return result;
}

bool SameLoad(const CKestrixDoc& a, const CKestrixDoc& b)
{
    if (a.m_nObs != b.m_nObs || std::memcmp(&a.m_dEasting, &b.m_dEasting, sizeof(double)) != 0
        || std::memcmp(&a.m_dDeclination, &b.m_dDeclination, sizeof(double)) != 0)
        return false;
    for (int i = 0; i < a.m_nObs; ++i) {
        if (std::memcmp(&a.m_pObs[i], &b.m_pObs[i], 7 * sizeof(double)) != 0)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CKestrixDoc doc;
    int messages = 0;
    const LoadResult result = Load(doc, text, LineSource::kMaxPiece, messages);
    for (double value : {doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight, doc.m_dDeclination}) {
        if (!std::isfinite(value))
            std::abort();
    }
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& obs = doc.m_pObs[i];
        for (double value : {obs.Depth, obs.MagX, obs.MagY, obs.MagZ, obs.AccX, obs.AccY, obs.AccZ}) {
            if (!std::isfinite(value))
                std::abort();
        }
    }

    // The last bytes steer a few edits, whatever the load gave.
    const std::uint8_t steer = size ? data[size - 1] : 0;
    const std::uint8_t steer2 = size > 1 ? data[size - 2] : 0;

    // Every load past the header fills a table of 20000 rows, so the second
    // and third loads run on a part of the inputs only.
    if (steer2 & 0x40) {
        CKestrixDoc pieced;
        int piecedMessages = 0;
        if (Load(pieced, text, 1 + steer2 % 7, piecedMessages) != result || piecedMessages != messages
            || !SameLoad(doc, pieced))
            std::abort();
    }

    // A row whose first token is one character over the bound, after all of it.
    if (steer2 & 0x80) {
        std::string longer(text);
        longer += "\n";
        longer.append(LineSource::kMaxPiece + 1, '7');
        CKestrixDoc overlong;
        int overlongMessages = 0;
        if (Load(overlong, longer, LineSource::kMaxPiece, overlongMessages) == LoadResult::Loaded)
            std::abort();
    }

    if (doc.m_nObs > 0 && (steer & 1))
        ApplyRecorded(doc, edit::DeleteObservation{steer % doc.m_nObs});
    // Control points as the azimuth view would give them: whole plot units.
    auto plotUnits = [](double value) {
        return static_cast<std::int32_t>(std::isfinite(value) ? std::clamp(value, -2e9, 2e9) : 0.0);
    };
    for (int i = 0; i < doc.m_nObs && i < (steer >> 4); ++i)
        ApplyRecorded(doc, edit::AddControlPoint{
            {plotUnits(doc.m_pObs[i].Depth * doc.m_dScale) ^ i, plotUnits(doc.m_pObs[i].MagX * 1e4)}});
    ApplyRecorded(doc, edit::SetFitDegree{1 + ((steer >> 1) & 3)});
    if (steer & 8)
        ApplyRecorded(doc, edit::SetRollAdjustment{-90});

    if (result != LoadResult::OutOfMemory) {
        const std::string path = FuzzTempPath(".xyz");
        WriteXyzFile(doc, path);
        std::remove(path.c_str());
        ListingAsText(BuildListing(doc));
    }
    return 0;
}
