#pragma once

#include "convert/CurveUnits.h"
#include "convert/LasLineReader.h"
#include "convert/RecordText.h"
#include "textio/SafeFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace convert {

// How the values of a data line are parted: by runs of blanks and tabs (LAS
// 2.0, and LAS 3.0's SPACE), or by one comma or one tab each, blanks around a
// value not counting (LAS 3.0's COMMA and TAB).
enum class Delimiter { Blanks, Comma, Tab };

// What becomes of one curve's values in the raw survey file.
struct ColumnRole {
    static constexpr signed char kWritten = -1; // written in its place, as read
    static constexpr signed char kLeftOut = -2; // a text curve, not written
    // 0 to 6: the Axis of a mapped curve, written first in axis order.
};

// The data file's NULL value, as the ~W section gives it.
struct NullValue {
    std::string text; // empty when the file names none
    bool numeric = false;
    double value = 0.0;
    bool Matches(std::string_view token) const { return !text.empty() && MatchesText(token); }
    // As Matches, for a token read wholly as the finite number `read`.
    bool MatchesNumber(std::string_view token, double read) const
    {
        return !text.empty() && (token == text || (numeric && read == value));
    }

private:
    bool MatchesText(std::string_view token) const;
};

// Turns the lines of a LAS data section into data lines of a raw survey file,
// one token at a time: a record may run over several lines, tokens after the
// one that completes a record are dropped with the rest of their line, and a
// line whose first token starts with "#" is a comment.
class DataRecords {
public:
    // Writes to `out`, or nowhere when it is null.
    DataRecords(textio::SafeFileWriter* out, std::size_t longestToken) : m_out(out), m_longestToken(longestToken) {}

    void SetCurveCount(int curveCount) { m_curveCount = curveCount; }
    // One role per curve, in curve order; none means every curve is written.
    void SetRoles(std::vector<signed char> roles) { m_roles = std::move(roles); }
    // The factor of each mapped axis into metres, gauss and g.
    void SetFactors(const std::array<double, kAxisCount>& factors)
    {
        m_factors = factors;
        m_mapping = true;
    }
    void SetDelimiter(Delimiter delimiter) { m_delimiter = delimiter; }
    void SetNull(NullValue null);
    // Keeps the first `count` records' values in `rows`, as the file holds
    // them, each cut to `characters`.
    void SetPreview(std::vector<std::vector<std::string>>* rows, std::size_t count, std::size_t characters)
    {
        m_preview = rows;
        m_previewCount = count;
        m_previewCharacters = characters;
    }
    // A line starting with "~" ends the data (LAS 3.0, where sections follow).
    void SetSectionsEndData(bool end) { m_sectionsEndData = end; }

    // Takes the next piece of a data line; false when a token it needs runs
    // longer than `longestToken` characters.
    bool Take(const LinePiece& piece);
    // A section line has ended the data; nothing more is taken.
    bool Ended() const { return m_ended; }

    std::int64_t Written() const { return m_written; }
    // Values written that were not wholly a finite number, and the line of
    // the first of them (0 when none).
    std::int64_t NotNumbers() const { return m_notNumbers; }
    std::int64_t FirstNotNumberLine() const { return m_firstNotNumberLine; }
    // Records left out because a mapped value was NULL or not a number.
    std::int64_t LeftOut() const { return m_leftOut; }
    std::int64_t FirstLeftOutLine() const { return m_firstLeftOutLine; }
    // Records written without mapping with the NULL value in one of the
    // first seven columns.
    std::int64_t NullRecords() const { return m_nullRecords; }

private:
    bool TakeBlankParted(const LinePiece& piece);
    bool TakeDelimited(const LinePiece& piece, char delimiter);
    void TakeToken(std::string_view token, std::int64_t line);
    void EndRecord(std::int64_t line);
    bool IsNull(std::string_view token, std::string_view field) const;
    signed char RoleOf(int column) const
    {
        return m_roles.empty() ? ColumnRole::kWritten : m_roles[static_cast<std::size_t>(column)];
    }

    textio::SafeFileWriter* m_out;
    std::size_t m_longestToken;
    int m_curveCount = 0;
    std::vector<signed char> m_roles;
    std::array<double, kAxisCount> m_factors{};
    bool m_mapping = false;
    Delimiter m_delimiter = Delimiter::Blanks;
    NullValue m_null;
    std::string m_nullField; // a numeric NULL value as its field is written
    bool m_sectionsEndData = false;
    std::vector<std::vector<std::string>>* m_preview = nullptr;
    std::size_t m_previewCount = 0;
    std::size_t m_previewCharacters = 0;
    bool m_previewing = false; // the record being gathered is kept in the preview
    bool m_ended = false;

    int m_values = 0;         // values of the record being gathered
    int m_columns = 0;        // of them, those written in their place
    RecordText m_record;      // those values, already formatted
    std::array<double, kAxisCount> m_mapped{};
    bool m_badMapped = false; // a mapped value of the record is NULL or not a number
    bool m_nullSeen = false;  // a NULL value in the record's first seven columns
    std::string m_token;      // the start of a token cut by the end of a piece
    bool m_tokenStarted = false; // a delimited value has begun on this line
    bool m_inQuotes = false;     // inside a quoted delimited value
    bool m_lineDone = false;  // the rest of the line is dropped
    bool m_firstToken = true; // no token of the line was taken yet
    std::int64_t m_written = 0;
    std::int64_t m_notNumbers = 0;
    std::int64_t m_firstNotNumberLine = 0;
    std::int64_t m_leftOut = 0;
    std::int64_t m_firstLeftOutLine = 0;
    std::int64_t m_nullRecords = 0;
};

} // namespace convert
