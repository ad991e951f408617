// Loading of a raw survey file into a new document.
#include "survey/KestrixDoc.h"

#include "survey/DocumentHost.h"
#include "survey/LineSource.h"
#include "survey/LineTokens.h"
#include "survey/MessageSink.h"
#include "textio/NumberText.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

namespace survey {

namespace {

const char* const kInvalidFormat = "Invalid file format";
const char* const kOutOfMemory = "Failed to allocate memory for observations";
constexpr std::string_view kTitle = "Collar coordinates:";

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// The first line: the title as a whole line, ignoring case.
bool ReadTitleLine(LineSource& source)
{
    std::string line;
    for (std::string_view piece; source.NextPiece(piece);) {
        if (line.size() + piece.size() > kTitle.size())
            return false;
        line.append(piece);
    }
    return EqualsIgnoringCase(line, kTitle);
}

// The tokens left on a line are ignored, but none may be over the bound.
bool RestOfLineFits(LineTokens& tokens)
{
    LineTokens::Status status = LineTokens::Status::Token;
    for (std::string_view token; status == LineTokens::Status::Token;)
        status = tokens.Next(token);
    return status == LineTokens::Status::End;
}

// A collar line: its keyword at the very first character, then a number.
bool ReadCollarLine(LineSource& source, std::string_view keyword, double& value)
{
    LineTokens tokens(source);
    std::string_view token;
    if (tokens.Next(token) != LineTokens::Status::Token || tokens.TokenStart() != 0
        || !EqualsIgnoringCase(token, keyword))
        return false;
    return tokens.Next(token) == LineTokens::Status::Token && textio::ReadFiniteNumber(token, value)
        && RestOfLineFits(tokens);
}

// The header line must hold every one of the seven names, anywhere. It is
// searched piece by piece; a name may straddle two pieces.
bool ReadHeaderLine(LineSource& source)
{
    static constexpr std::string_view kNames[] = {"DEPTH", "MagX", "MagY", "MagZ", "AccX", "AccY", "AccZ"};
    static constexpr std::size_t kOverlap = 4; // the longest name less one
    bool found[std::size(kNames)] = {};
    std::string window;
    for (std::string_view piece; source.NextPiece(piece);) {
        const std::size_t carried = std::min(window.size(), kOverlap);
        window.erase(0, window.size() - carried);
        window.append(piece);
        for (std::size_t i = 0; i < std::size(kNames); ++i)
            found[i] = found[i] || window.find(kNames[i]) != std::string::npos;
    }
    return std::all_of(std::begin(found), std::end(found), [](bool f) { return f; });
}

// The rest of a data line whose first token is `first`: the first seven
// tokens must all be finite numbers; any further ones are ignored.
bool ReadDataLine(LineTokens& tokens, std::string_view first, Observation& obs)
{
    double* const fields[7] = {&obs.Depth, &obs.MagX, &obs.MagY, &obs.MagZ,
                               &obs.AccX, &obs.AccY, &obs.AccZ};
    std::string_view token = first;
    for (int i = 0; i < 7; ++i) {
        if (i > 0 && tokens.Next(token) != LineTokens::Status::Token)
            return false;
        if (!textio::ReadFiniteNumber(token, *fields[i]))
            return false;
    }
    return RestOfLineFits(tokens);
}

} // namespace

LoadResult CKestrixDoc::LoadRawSurvey(const std::string& path, LineSource& source, MessageSink& sink)
{
    m_strFilePath = path;
    auto fail = [&](const std::string& text, LoadResult result) {
        sink.ShowMessage(text);
        return result;
    };
    // A line that does not fit, or one cut short by a read error.
    auto invalid = [&]() {
        if (source.Failed())
            return fail(textio::Format("Failed to read\n  %s", path.c_str()), LoadResult::InvalidFormat);
        return fail(kInvalidFormat, LoadResult::InvalidFormat);
    };

    if (!source.NextLine() || !ReadTitleLine(source))
        return invalid();
    const std::pair<const char*, double*> collar[4] = {
        {"Easting", &m_dEasting}, {"Northing", &m_dNorthing},
        {"Height", &m_dHeight}, {"Declination", &m_dDeclination}};
    for (const auto& [keyword, member] : collar) {
        if (!source.NextLine() || !ReadCollarLine(source, keyword, *member))
            return invalid();
    }
    if (!source.NextLine() || !ReadHeaderLine(source))
        return invalid();

    m_nObs = 0;
    m_pObs.reset(new (std::nothrow) Observation[kMaxObservations]());
    if (!m_pObs)
        return fail(kOutOfMemory, LoadResult::OutOfMemory);

    LoadResult result = LoadResult::Loaded;
    // Lines without a token are passed over at the end of the file (editors
    // add them) but not between rows.
    bool blankLineSeen = false;
    while (source.NextLine()) {
        LineTokens tokens(source);
        std::string_view first;
        const LineTokens::Status status = tokens.Next(first);
        if (status == LineTokens::Status::End) {
            blankLineSeen = true;
            continue;
        }
        if (m_nObs == kMaxObservations) {
            sink.ShowMessage(textio::Format(
                "The number of observations in the file exceeds the limit of %d.\n"
                "Observations in excess of this have been ignored.",
                kMaxObservations));
            result = LoadResult::LoadedOverLimit;
            break;
        }
        if (blankLineSeen || status != LineTokens::Status::Token || !ReadDataLine(tokens, first, m_pObs[m_nObs]))
            return invalid();
        ++m_nObs;
    }
    if (source.Failed())
        return invalid();

    if (m_nObs == 0) {
        m_pObs.reset();
    } else if (m_nObs < kMaxObservations) {
        if (Observation* exact = new (std::nothrow) Observation[m_nObs]) {
            std::memcpy(exact, m_pObs.get(), sizeof(Observation) * static_cast<std::size_t>(m_nObs));
            m_pObs.reset(exact);
        }
    }

    if (m_pHost)
        m_pHost->OpenPlotWindows();
    Recalculate();
    return result;
}

} // namespace survey
