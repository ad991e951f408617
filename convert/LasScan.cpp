#include "convert/LasScan.h"

#include "convert/RawSurveyText.h"

namespace convert {
namespace {

// The names kestrix looks for in the curve names line, each as a substring.
constexpr std::array<std::string_view, 7> kNamesKestrixNeeds = {"DEPTH", "MagX", "MagY", "MagZ", "AccX", "AccY", "AccZ"};

} // namespace

void CurveLine::Start()
{
    m_name.clear();
    m_colon = m_dot = m_tooLong = false;
}

void CurveLine::Take(std::string_view text)
{
    if (!m_colon) {
        const std::size_t colon = text.find(':');
        const std::string_view before = text.substr(0, colon);
        m_dot = m_dot || before.find('.') != std::string_view::npos;
        if (colon != std::string_view::npos) {
            // From here on the name is what follows the colon.
            m_colon = true;
            m_name.clear();
            m_tooLong = false;
            text.remove_prefix(colon + 1);
        }
    }
    if (m_tooLong || m_name.size() + text.size() > m_longest) {
        m_tooLong = true;
        return;
    }
    m_name.append(text);
}

void LasScan::Lead::Take(std::string_view text)
{
    for (const char c : text) {
        if (m_count == 2)
            return;
        if (m_count == 0 && (c == ' ' || c == '\t'))
            continue;
        m_chars[m_count++] = c;
    }
}

bool LasScan::Lead::IsSection(char upperLetter) const
{
    return m_count == 2 && m_chars[0] == '~' && (m_chars[1] == upperLetter || m_chars[1] == upperLetter - 'A' + 'a');
}

LasScan::LasScan(textio::SafeFileWriter& out, const ConvertLimits& limits)
    : m_out(out), m_limits(limits), m_curveLine(limits.longestText), m_records(out, limits.longestText)
{
}

ConvertResult::Status LasScan::Take(const LinePiece& piece)
{
    if (piece.first) {
        m_lead.Start();
        m_curveLine.Start();
    }
    switch (m_state) {
    case State::SeekingCurves:
        m_lead.Take(piece.text);
        if (piece.last && m_lead.IsSection('C'))
            m_state = State::InCurveList;
        break;
    case State::InCurveList:
        m_lead.Take(piece.text);
        if (m_lead.First() != '#' && m_lead.First() != '~') {
            m_curveLine.Take(piece.text);
            if (m_curveLine.TooLongAlready())
                return Status::NameTooLong;
        }
        if (piece.last)
            return EndCurveListLine();
        break;
    case State::SeekingData:
        m_lead.Take(piece.text);
        if (piece.last && m_lead.IsSection('A'))
            m_state = State::InData;
        break;
    case State::InData:
        if (m_curveCount > 0 && !m_records.Take(piece))
            return Status::ValueTooLong;
        break;
    }
    return Status::Ok;
}

ConvertResult::Status LasScan::EndCurveListLine()
{
    if (m_lead.Blank() || m_lead.First() == '#')
        return Status::Ok;
    if (m_lead.First() == '~') {
        EndCurveList();
        // The section line that ends the list may itself start the data.
        m_state = m_lead.IsSection('A') ? State::InData : State::SeekingData;
        return Status::Ok;
    }
    if (!m_curveLine.NamesACurve())
        return Status::Ok;
    if (m_curveLine.TooLong())
        return Status::NameTooLong;
    if (m_curveCount == m_limits.mostCurves)
        return Status::TooManyCurves;
    // Names go out as they come, so that a long curve list needs no more
    // memory than one name.
    std::string field;
    if (m_curveCount > 0)
        field.push_back(' ');
    AppendNameField(field, m_curveLine.Name());
    m_out.Write(field);
    ++m_curveCount;
    for (std::size_t i = 0; i < kNamesKestrixNeeds.size(); ++i)
        m_namesFound[i] = m_namesFound[i] || m_curveLine.Name().find(kNamesKestrixNeeds[i]) != std::string_view::npos;
    return Status::Ok;
}

void LasScan::EndCurveList()
{
    if (m_curveCount > 0)
        m_out.Write("\r\n");
    m_records.SetCurveCount(m_curveCount);
}

ConvertResult::Status LasScan::Finish()
{
    if (m_state == State::InCurveList) {
        EndCurveList();
        m_state = State::SeekingData;
    }
    if (m_state == State::SeekingCurves)
        return Status::NoCurveSection;
    if (m_curveCount == 0)
        return Status::NoCurves;
    if (m_state != State::InData)
        return Status::NoDataSection;
    return Status::Ok;
}

std::vector<std::string> LasScan::MissingNames() const
{
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < kNamesKestrixNeeds.size(); ++i) {
        if (!m_namesFound[i])
            missing.emplace_back(kNamesKestrixNeeds[i]);
    }
    return missing;
}

} // namespace convert
