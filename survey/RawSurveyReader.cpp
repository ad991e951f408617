// Loading of a raw survey file into a new document.
#include "survey/KestrixDoc.h"

#include "survey/DocumentHost.h"
#include "survey/LineSource.h"
#include "survey/LineTokens.h"
#include "survey/MessageSink.h"
#include "textio/NumberText.h"
#include "textio/Progress.h"
#include "textio/VectorState.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
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

// Why a line does not fit the raw survey file's layout; empty when it does.
using Fault = std::string;

const char* const kTooLong = "a word longer than 1 MiB";

// A token as a message quotes it: at most 20 characters of it.
std::string Quoted(std::string_view token)
{
    return "\"" + std::string(token.substr(0, 20)) + (token.size() > 20 ? "...\"" : "\"");
}

// The first line: the title as a whole line, ignoring case.
Fault ReadTitleLine(LineSource& source)
{
    const Fault notTheTitle = "the first line is not \"Collar coordinates:\"";
    std::string line;
    for (std::string_view piece; source.NextPiece(piece);) {
        if (line.size() + piece.size() > kTitle.size())
            return notTheTitle;
        line.append(piece);
    }
    return EqualsIgnoringCase(line, kTitle) ? Fault() : notTheTitle;
}

// The tokens left on a line are ignored, but none may be over the bound.
Fault RestOfLine(LineTokens& tokens)
{
    LineTokens::Status status = LineTokens::Status::Token;
    for (std::string_view token; status == LineTokens::Status::Token;)
        status = tokens.Next(token);
    return status == LineTokens::Status::End ? Fault() : kTooLong;
}

// What a value that is not read as a number is: too long, or not a number
// (a word, a decimal comma, nan, inf, 1e999) in the column `what`.
Fault NotANumber(LineTokens::Status status, std::string_view token, const std::string& what)
{
    if (status == LineTokens::Status::TooLong)
        return kTooLong;
    return Quoted(token) + " is not a number" + what;
}

// A collar line: its keyword at the very first character, then a number.
Fault ReadCollarLine(LineSource& source, std::string_view keyword, double& value)
{
    LineTokens tokens(source);
    std::string_view token;
    LineTokens::Status status = tokens.Next(token);
    if (status != LineTokens::Status::Token || tokens.TokenStart() != 0 || !EqualsIgnoringCase(token, keyword))
        return status == LineTokens::Status::TooLong ? Fault(kTooLong)
                                                     : "the line does not start with " + std::string(keyword);
    status = tokens.Next(token);
    if (status == LineTokens::Status::End)
        return std::string(keyword) + " has no number";
    if (status != LineTokens::Status::Token || !textio::ReadFiniteNumber(token, value))
        return NotANumber(status, token, (" (" + std::string(keyword) + ")").c_str());
    return RestOfLine(tokens);
}

// The header line must hold every one of the seven names, anywhere. It is
// searched piece by piece; a name may straddle two pieces.
Fault ReadHeaderLine(LineSource& source)
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
    std::string missing;
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        if (!found[i])
            missing += (missing.empty() ? "" : ", ") + std::string(kNames[i]);
    }
    return missing.empty() ? Fault() : "the names line lacks " + missing + " (names are case-sensitive)";
}

// The rest of a data line whose first token is `first`: the first seven
// tokens must all be finite numbers; any further ones are ignored.
Fault ReadDataLine(LineTokens& tokens, std::string_view first, Observation& obs)
{
    double* const fields[7] = {&obs.Depth, &obs.MagX, &obs.MagY, &obs.MagZ,
                               &obs.AccX, &obs.AccY, &obs.AccZ};
    static const char* const kColumns[7] = {" (depth)", " (MagX)", " (MagY)", " (MagZ)",
                                            " (AccX)",  " (AccY)", " (AccZ)"};
    std::string_view token = first;
    for (int i = 0; i < 7; ++i) {
        const LineTokens::Status status = i > 0 ? tokens.Next(token) : LineTokens::Status::Token;
        if (status == LineTokens::Status::End)
            return textio::Format("%d values where seven are needed", i);
        if (status != LineTokens::Status::Token || !textio::ReadFiniteNumber(token, *fields[i]))
            return NotANumber(status, token, kColumns[i]);
    }
    return RestOfLine(tokens);
}

// The rows read so far, held in the array that becomes the document's table:
// a row is read in place, and the rows are copied only when the room runs out
// or when most of it is left over (memory follows the readings read).
class ReadingTable {
public:
    // A table of at most `limit` rows.
    explicit ReadingTable(std::size_t limit) : m_limit(limit) {}
    std::size_t Size() const { return m_size; }
    // Room for `rows` rows in all.
    void Reserve(std::size_t rows)
    {
        if (rows > m_room)
            Resize(rows);
    }
    // The next row, zeroed; it counts once KeepRow is called.
    Observation& NextRow()
    {
        if (m_size == m_room)
            Resize(std::min(m_limit, std::max<std::size_t>(64, m_room * 2)));
        Observation& row = m_rows[m_size];
        row = Observation{};
        return row;
    }
    void KeepRow() { ++m_size; }
    // Hands the rows to `table` (null when none) and returns their number.
    std::int32_t MoveTo(std::unique_ptr<Observation[]>& table)
    {
        if (m_size < m_room / 2)
            Resize(m_size);
        table = m_size > 0 ? std::move(m_rows) : nullptr;
        const auto size = static_cast<std::int32_t>(m_size);
        m_rows.reset();
        m_room = m_size = 0;
        return size;
    }

private:
    void Resize(std::size_t room)
    {
        // Left uninitialised: pages of room never used are never touched.
        std::unique_ptr<Observation[]> rows(room > 0 ? new Observation[room] : nullptr);
        if (m_size > 0)
            std::memcpy(rows.get(), m_rows.get(), sizeof(Observation) * m_size);
        m_rows = std::move(rows);
        m_room = room;
    }

    std::size_t m_limit;
    std::unique_ptr<Observation[]> m_rows;
    std::size_t m_room = 0;
    std::size_t m_size = 0;
};

} // namespace

LoadResult CKestrixDoc::LoadRawSurvey(const std::string& path, LineSource& source, MessageSink& sink,
                                      textio::Progress* progress)
{
    textio::ReleaseWideVectorRegisters();
    m_strFilePath = path;
    auto fail = [&](const std::string& text, LoadResult result) {
        sink.ShowMessage(text);
        return result;
    };
    // A line that does not fit (`line` counted from 1), or one cut short by
    // a read error. The first line of the message says which.
    auto invalid = [&](std::int64_t line, const std::string& why) {
        if (source.Failed())
            return fail(textio::Format("Failed to read\n  %s", path.c_str()), LoadResult::InvalidFormat);
        return fail(textio::Format("%s\n%s, line %lld: %s", kInvalidFormat, path.c_str(), static_cast<long long>(line),
                                   why.c_str()),
                    LoadResult::InvalidFormat);
    };
    std::int64_t line = 0;
    auto nextLine = [&]() {
        ++line;
        return source.NextLine();
    };
    auto endsBefore = [&](const char* what) {
        return invalid(line, textio::Format("the file ends before %s", what));
    };

    if (!nextLine())
        return endsBefore("the title line");
    if (Fault fault = ReadTitleLine(source); !fault.empty())
        return invalid(line, fault);
    const std::pair<const char*, double*> collar[4] = {
        {"Easting", &m_dEasting}, {"Northing", &m_dNorthing},
        {"Height", &m_dHeight}, {"Declination", &m_dDeclination}};
    for (const auto& [keyword, member] : collar) {
        if (!nextLine())
            return endsBefore("the collar's four lines");
        if (Fault fault = ReadCollarLine(source, keyword, *member); !fault.empty())
            return invalid(line, fault);
    }
    if (!nextLine())
        return endsBefore("the names line");
    if (Fault fault = ReadHeaderLine(source); !fault.empty())
        return invalid(line, fault);

    // New readings are oriented by the recalculation after the load.
    m_bOrientationCurrent = false;
    m_nObs = 0;
    m_pObs.reset();
    ReadingTable read(kMaxObservations);
    // The rows read so far become the table: a failed load shows them.
    auto keep = [&] { m_nObs = read.MoveTo(m_pObs); };
    auto refuse = [&](std::int64_t at, const std::string& why) {
        keep();
        return invalid(at, why);
    };
    LoadResult result = LoadResult::Loaded;
    try {
        // Lines without a token are passed over at the end of the file
        // (editors add them) but not between rows.
        std::int64_t blankLine = 0;
        textio::ProgressTicker ticker(progress);
        // Room for as many rows as the rest of the file can hold (a row is at
        // least seven one-character numbers, their blanks and a line end), so
        // that the table is not copied again and again as it grows.
        const std::uint64_t left = source.BytesInAll() > source.BytesTaken() ? source.BytesInAll() - source.BytesTaken() : 0;
        read.Reserve(static_cast<std::size_t>(std::min<std::uint64_t>(left / 14 + 1, kMaxObservations)));
        while (nextLine()) {
            if (ticker.Due() && !ticker.Report(source.BytesTaken(), source.BytesInAll())) {
                m_pObs.reset();
                m_nObs = 0;
                return LoadResult::Cancelled;
            }
            LineTokens tokens(source);
            std::string_view first;
            const LineTokens::Status status = tokens.Next(first);
            if (status == LineTokens::Status::End) {
                if (blankLine == 0)
                    blankLine = line;
                continue;
            }
            if (read.Size() == static_cast<std::size_t>(kMaxObservations)) {
                sink.ShowMessage(textio::Format(
                    "The number of observations in the file exceeds the limit of %d.\n"
                    "Observations in excess of this have been ignored.",
                    kMaxObservations));
                result = LoadResult::LoadedOverLimit;
                break;
            }
            if (blankLine != 0)
                return refuse(blankLine, "an empty line between rows");
            if (status == LineTokens::Status::TooLong)
                return refuse(line, kTooLong);
            if (Fault fault = ReadDataLine(tokens, first, read.NextRow()); !fault.empty())
                return refuse(line, fault);
            read.KeepRow();
        }
        if (source.Failed())
            return refuse(line, std::string());
        keep();
    } catch (const std::bad_alloc&) {
        m_pObs.reset();
        m_nObs = 0;
        return fail(kOutOfMemory, LoadResult::OutOfMemory);
    }

    if (m_pHost)
        m_pHost->OpenPlotWindows();
    Recalculate();
    return result;
}

} // namespace survey
