#pragma once

#include "convert/DataRecords.h"
#include "convert/LasConverter.h"
#include "convert/LasLineReader.h"
#include "textio/SafeFile.h"

#include <array>
#include <string>

namespace convert {

// The name of one curve line, gathered across the pieces of the line: the
// text after its first ":", or the whole line when it has a "." but no ":".
// Holds at most `longest` characters.
class CurveLine {
public:
    explicit CurveLine(std::size_t longest) : m_longest(longest) {}

    void Start();
    void Take(std::string_view text);

    // A line with neither "." nor ":" (a ruler, column headings) names no curve.
    bool NamesACurve() const { return m_colon || m_dot; }
    bool TooLong() const { return m_tooLong; }
    // Too long whatever follows: the name after a colon has passed the bound.
    bool TooLongAlready() const { return m_colon && m_tooLong; }
    std::string_view Name() const { return m_name; }

private:
    std::size_t m_longest;
    std::string m_name;
    bool m_colon = false;
    bool m_dot = false;
    bool m_tooLong = false;
};

// The scan of a LAS file, fed piece by piece: it looks for the curve section
// (a line starting "~C"), writes the curve names line from the curve list,
// looks for the data section (a line starting "~A") and writes its records.
// Section lines count only where "~" is a line's first non-blank character.
class LasScan {
    using Status = ConvertResult::Status;

public:
    LasScan(textio::SafeFileWriter& out, const ConvertLimits& limits);

    // Takes the next piece of the LAS file. Ok, or why the file cannot be
    // converted (the scan is then over).
    Status Take(const LinePiece& piece);
    // Ends the scan at the end of the file: Ok, or what the file lacked.
    Status Finish();

    int CurveCount() const { return m_curveCount; }
    std::int64_t RecordCount() const { return m_records.Written(); }
    const DataRecords& Records() const { return m_records; }
    std::vector<std::string> MissingNames() const;

private:
    enum class State { SeekingCurves, InCurveList, SeekingData, InData };

    // The first non-blank character of a line and the one right after it.
    class Lead {
    public:
        void Start() { m_count = 0; }
        void Take(std::string_view text);
        bool Blank() const { return m_count == 0; }
        char First() const { return m_count > 0 ? m_chars[0] : '\0'; }
        // A section line of the letter, in either case ("~A", "~ascii").
        bool IsSection(char upperLetter) const;

    private:
        char m_chars[2] = {};
        int m_count = 0;
    };

    Status EndCurveListLine();
    void EndCurveList();

    textio::SafeFileWriter& m_out;
    ConvertLimits m_limits;
    State m_state = State::SeekingCurves;
    Lead m_lead;
    CurveLine m_curveLine;
    DataRecords m_records;
    int m_curveCount = 0;
    std::array<bool, 7> m_namesFound{};
};

} // namespace convert
