#pragma once

#include "convert/CurveMapping.h"
#include "convert/DataRecords.h"
#include "convert/LasConverter.h"
#include "convert/LasHeaderLine.h"
#include "convert/LasLineReader.h"
#include "convert/LasPreview.h"
#include "textio/SafeFile.h"

#include <array>
#include <string>
#include <vector>

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
// A LAS 3.0 file (VERS 3 in ~Version) gives its log data instead: the curves
// of ~Log_Definition or ~Curve and the rows of ~Log_Data or ~ASCII, parted by
// the DLM of ~Version, without its text curves; its other sections are
// passed over. With a mapping, the seven mapped curves come first, under
// kestrix's names and in its units.
class LasScan {
    using Status = ConvertResult::Status;

public:
    // Writes to `out`, or nowhere when it is null. `mapping` may be null (the
    // curves as written); `preview`, when given, gathers the curve list, the
    // header values and the first `previewRows` records.
    LasScan(textio::SafeFileWriter* out, const ConvertLimits& limits, const CurveMapping* mapping = nullptr,
            LasPreview* preview = nullptr, std::size_t previewRows = 0);

    // Takes the next piece of the LAS file. Ok, or why the file cannot be
    // converted (the scan is then over).
    Status Take(const LinePiece& piece);
    // Ends the scan at the end of the file: Ok, or what the file lacked.
    Status Finish();

    // The curve list has been read.
    bool CurvesRead() const { return m_state != State::SeekingCurves && m_state != State::InCurveList; }
    int CurveCount() const { return m_curveCount; }
    std::int64_t RecordCount() const { return m_records.Written(); }
    const DataRecords& Records() const { return m_records; }
    std::vector<std::string> MissingNames() const;
    // Text curves of a LAS 3.0 file, left out of the raw survey file.
    const std::vector<std::string>& TextCurves() const { return m_textCurves; }
    // The mapping's curves that the curve list lacks.
    std::vector<std::string> UnmatchedCurves() const;
    const NullValue& Null() const { return m_null; }

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

    // 'V', 'W' or 'P' for the header sections the scan reads, or '\0'.
    char SectionLetter() const;
    bool IsCurveSection() const;
    bool IsDataSection() const;
    void TakeHeaderValue();
    Status EndCurveListLine();
    void WriteName(std::string_view name);
    Status EndCurveList();

    textio::SafeFileWriter* m_out;
    ConvertLimits m_limits;
    const CurveMapping* m_mapping;
    LasPreview* m_preview;
    State m_state = State::SeekingCurves;
    Lead m_lead;
    LasHeaderLine m_header;
    CurveLine m_curveLine;
    DataRecords m_records;
    char m_section = '\0'; // the letter of the header section the scan is in
    bool m_version3 = false;
    Delimiter m_delimiter = Delimiter::Blanks;
    NullValue m_null;
    int m_curveCount = 0;
    int m_namesWritten = 0;
    std::vector<signed char> m_roles; // with a mapping or text curves: each curve's ColumnRole
    std::array<bool, kAxisCount> m_mapped{};
    std::vector<std::string> m_textCurves;
    std::array<bool, 7> m_namesFound{};
};

} // namespace convert
