// The edits-file reader on arbitrary bytes, then the edits restored on a small
// survey. Whatever it reads, writing it and reading that back gives the same
// edits; a restore either changes nothing or is taken back by one undo and made
// again by one redo, to the last bit.
#include "DocumentState.h"
#include "fuzz/FuzzSupport.h"
#include "survey/EditRecord.h"
#include "survey/EditsRestore.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace survey;

namespace {

// Readings at repeated and fractional depths (the loader refuses a
// non-finite one, so the edits' own non-finite depths find no reading).
constexpr std::string_view kSurvey = "Collar coordinates:\r\nEasting 0\r\nNorthing 0\r\nHeight 0\r\nDeclination 0\r\n"
                                     "DEPTH MagX MagY MagZ AccX AccY AccZ\r\n"
                                     "0 0.2 0.1 0.4 0 1 0.1\r\n"
                                     "1 0.2 0.1 0.4 0 1 0.2\r\n"
                                     "1 0.3 0.1 0.4 0 1 0.2\r\n"
                                     "1 0.2 0.3 0.4 0 1 0.2\r\n"
                                     "2.5 0.2 0.1 0.4 0.1 1 0.2\r\n"
                                     "3.14159 0.2 0.1 0.5 0 1 0.3\r\n"
                                     "4 0.2 0.1 0.4 0 1 0.4\r\n";

void LoadSurvey(CKestrixDoc& doc)
{
    StringLineSource source(kSurvey);
    NullSink sink;
    if (doc.LoadRawSurvey("/tmp/fuzz.txt", source, sink) != LoadResult::Loaded)
        std::abort();
}

bool SameEdits(const SurveyEdits& a, const SurveyEdits& b)
{
    return EditsText(a) == EditsText(b) && a.deletions.size() == b.deletions.size()
        && std::equal(a.deletions.begin(), a.deletions.end(), b.deletions.begin(),
                      [](const auto& x, const auto& y) {
                          // A NaN's payload is not written; any NaN names the same readings.
                          return (std::isnan(x.depth) ? std::isnan(y.depth) : document_state::SameBits(x.depth, y.depth))
                              && x.occurrence == y.occurrence;
                      });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    StringLineSource source(text, size ? 1 + data[0] % 16 : 1);
    const auto read = ReadEdits(source);
    const SurveyEdits* edits = std::get_if<SurveyEdits>(&read);
    if (!edits) {
        if (std::get<EditsFault>(read).line < 1)
            std::abort(); // a fault in the text names its line
        return 0;
    }
    if (edits->controlPoints.size() > CKestrixDoc::kMaxControlPoints || edits->deletions.size() > static_cast<std::size_t>(CKestrixDoc::kMaxObservations))
        std::abort();

    const std::string writtenText = EditsText(*edits);
    StringLineSource written(writtenText);
    const auto reread = ReadEdits(written);
    if (!std::holds_alternative<SurveyEdits>(reread) || !SameEdits(*edits, std::get<SurveyEdits>(reread)))
        std::abort();

    CKestrixDoc doc;
    LoadSurvey(doc);
    const DocumentState loaded(doc);
    auto restored = RestoreEdits(doc, *edits);
    if (std::holds_alternative<EditsFault>(restored)) {
        if (!FirstDifference(DocumentState(doc), loaded).empty())
            std::abort();
        return 0;
    }
    const DocumentState edited(doc);
    const EditRecord& record = std::get<RestoredEdits>(restored).record;
    if (!Undo(doc, record) || !FirstDifference(DocumentState(doc), loaded).empty())
        std::abort();
    Redo(doc, record);
    if (!FirstDifference(DocumentState(doc), edited).empty())
        std::abort();

    // The edits of the result, restored on the survey as loaded, give it again.
    CKestrixDoc again;
    LoadSurvey(again);
    if (!std::holds_alternative<RestoredEdits>(RestoreEdits(again, EditsOf(doc)))
        || !FirstDifference(DocumentState(again), edited).empty())
        std::abort();
    return 0;
}
