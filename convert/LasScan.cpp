#include "convert/LasScan.h"

#include "convert/RawSurveyText.h"

namespace convert {
namespace {

// The names kestrix looks for in the curve names line, each as a substring.
constexpr std::array<std::string_view, 7> kNamesKestrixNeeds = {"DEPTH", "MagX", "MagY", "MagZ", "AccX", "AccY", "AccZ"};

// Header values that matter are short; a longer header line is read cut.
constexpr std::size_t kHeaderLineBound = 1024;
// Text curves named in the warning, and how much of each name.
constexpr std::size_t kTextCurvesNamed = 8;
constexpr std::size_t kTextCurveNameBound = 32;
constexpr std::size_t kNullTextBound = 64;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// A LAS 3.0 curve description: its format in braces, "{S}" for text, and an
// association after "|" follow the words.
bool IsTextFormat(std::string_view description)
{
    const std::size_t brace = description.find('{');
    if (brace == std::string_view::npos)
        return false;
    const std::string_view format = TrimBlanks(description.substr(brace + 1));
    return !format.empty() && Upper(format.front()) == 'S';
}

std::string_view WordsOf(std::string_view description)
{
    return TrimBlanks(description.substr(0, description.find_first_of("{|")));
}

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

LasScan::LasScan(textio::SafeFileWriter* out, const ConvertLimits& limits, const CurveMapping* mapping,
                 LasPreview* preview, std::size_t previewRows)
    : m_out(out), m_limits(limits), m_mapping(mapping), m_preview(preview), m_header(kHeaderLineBound),
      m_curveLine(limits.longestText), m_records(out, limits.longestText)
{
    if (preview)
        m_records.SetPreview(&preview->firstRows, previewRows, LasPreview::kValueCharacters);
}

char LasScan::SectionLetter() const
{
    for (const char letter : {'V', 'W', 'P'}) {
        if (m_lead.IsSection(letter))
            return letter;
    }
    return '\0';
}

bool LasScan::IsCurveSection() const
{
    if (!m_version3)
        return m_lead.IsSection('C');
    const std::string_view name = m_header.SectionName();
    return SameIgnoringCase(name, "Log_Definition") || StartsWithIgnoringCase(name, "Curve");
}

bool LasScan::IsDataSection() const
{
    if (!m_version3)
        return m_lead.IsSection('A');
    const std::string_view name = m_header.SectionName();
    return SameIgnoringCase(name, "Log_Data") || SameIgnoringCase(name, "A") || SameIgnoringCase(name, "ASCII");
}

// The header values the scan needs: the version and delimiter of ~Version
// and the NULL value of ~Well; a preview keeps those of ~Well and ~Parameter.
void LasScan::TakeHeaderValue()
{
    const std::string_view mnemonic = m_header.Mnemonic();
    const std::string_view value = m_header.Value();
    if (m_preview && (m_section == 'W' || m_section == 'P') && !mnemonic.empty()
        && m_preview->header.size() < LasPreview::kMostHeaderValues)
        m_preview->header.push_back({m_section, std::string(mnemonic), std::string(m_header.Unit()), std::string(value)});
    if (m_section == 'V' && SameIgnoringCase(mnemonic, "VERS")) {
        m_version3 = !value.empty() && value.front() == '3';
    } else if (m_section == 'V' && SameIgnoringCase(mnemonic, "DLM")) {
        m_delimiter = SameIgnoringCase(value, "COMMA") ? Delimiter::Comma
                    : SameIgnoringCase(value, "TAB")   ? Delimiter::Tab
                                                       : Delimiter::Blanks;
    } else if (m_section == 'W' && SameIgnoringCase(mnemonic, "NULL") && !value.empty()
               && value.size() <= kNullTextBound) {
        m_null.text = std::string(value);
        m_null.numeric = WholeDecimalValue(value, m_null.value);
    }
}

ConvertResult::Status LasScan::Take(const LinePiece& piece)
{
    if (piece.first) {
        m_lead.Start();
        m_curveLine.Start();
        m_header.Start();
    }
    if (m_state != State::InData)
        m_header.Take(piece.text);
    switch (m_state) {
    case State::SeekingCurves:
    case State::SeekingData:
        m_lead.Take(piece.text);
        if (!piece.last)
            break;
        if (m_lead.First() == '~') {
            m_section = SectionLetter();
            if (m_state == State::SeekingCurves && IsCurveSection()) {
                m_state = State::InCurveList;
                if (m_mapping) // the mapped curves come first, under kestrix's names
                    for (const std::string_view name : kAxisNames)
                        WriteName(name);
            } else if (m_state == State::SeekingData && IsDataSection()) {
                m_state = State::InData;
            }
        } else {
            TakeHeaderValue();
        }
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
    case State::InData:
        if (m_namesWritten > 0 && !m_records.Take(piece))
            return Status::ValueTooLong;
        break;
    }
    return Status::Ok;
}

void LasScan::WriteName(std::string_view name)
{
    // Names go out as they come, so that a long curve list needs no more
    // memory than one name.
    std::string field;
    if (m_namesWritten > 0)
        field.push_back(' ');
    AppendNameField(field, name);
    if (m_out)
        m_out->Write(field);
    ++m_namesWritten;
}

ConvertResult::Status LasScan::EndCurveListLine()
{
    if (m_lead.Blank() || m_lead.First() == '#')
        return Status::Ok;
    if (m_lead.First() == '~') {
        m_section = SectionLetter();
        const Status ended = EndCurveList();
        // The section line that ends the list may itself start the data.
        m_state = IsDataSection() ? State::InData : State::SeekingData;
        return ended;
    }
    if (!m_curveLine.NamesACurve())
        return Status::Ok;
    if (m_curveLine.TooLong())
        return Status::NameTooLong;
    if (m_curveCount == m_limits.mostCurves)
        return Status::TooManyCurves;
    ++m_curveCount;
    std::string_view name = m_curveLine.Name();
    const std::string_view mnemonic = m_header.Mnemonic();
    signed char role = ColumnRole::kWritten;
    if (m_version3) {
        if (IsTextFormat(name)) {
            role = ColumnRole::kLeftOut;
            if (m_textCurves.size() < kTextCurvesNamed)
                m_textCurves.emplace_back(mnemonic.substr(0, kTextCurveNameBound));
        }
        // A 3.0 description carries its format and association: the name is
        // its words, or the mnemonic when it has none.
        name = WordsOf(name).empty() ? mnemonic : WordsOf(name);
    }
    if (m_preview)
        m_preview->curves.push_back(LasCurve{std::string(mnemonic), std::string(m_header.Unit()), std::string(name)});
    if (m_mapping && role == ColumnRole::kWritten) {
        for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
            if (!m_mapped[axis] && SameIgnoringCase(m_mapping->curves[axis].mnemonic, mnemonic)) {
                m_mapped[axis] = true; // the first curve of the mnemonic gives the axis
                role = static_cast<signed char>(axis);
                break;
            }
        }
    }
    if (m_mapping || m_version3)
        m_roles.push_back(role);
    if (role == ColumnRole::kWritten) {
        WriteName(name);
        for (std::size_t i = 0; i < kNamesKestrixNeeds.size(); ++i)
            m_namesFound[i] = m_namesFound[i] || name.find(kNamesKestrixNeeds[i]) != std::string_view::npos;
    }
    return Status::Ok;
}

ConvertResult::Status LasScan::EndCurveList()
{
    if (m_namesWritten > 0 && m_out)
        m_out->Write("\r\n");
    m_records.SetCurveCount(m_curveCount);
    m_records.SetRoles(std::move(m_roles));
    m_records.SetNull(m_null);
    if (m_version3) {
        m_records.SetDelimiter(m_delimiter);
        m_records.SetSectionsEndData(true);
    }
    if (m_mapping) {
        std::array<double, kAxisCount> factors{};
        for (std::size_t axis = 0; axis < kAxisCount; ++axis)
            factors[axis] = m_mapping->curves[axis].unit.factor;
        m_records.SetFactors(factors);
        if (!UnmatchedCurves().empty())
            return Status::MappedCurveMissing;
    }
    return Status::Ok;
}

ConvertResult::Status LasScan::Finish()
{
    if (m_state == State::InCurveList) {
        m_state = State::SeekingData;
        if (const Status ended = EndCurveList(); ended != Status::Ok)
            return ended;
    }
    if (m_state == State::SeekingCurves)
        return Status::NoCurveSection;
    if (m_curveCount == 0 || (m_namesWritten == 0 && !m_mapping))
        return Status::NoCurves;
    if (m_state != State::InData)
        return Status::NoDataSection;
    return Status::Ok;
}

std::vector<std::string> LasScan::MissingNames() const
{
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < kNamesKestrixNeeds.size() && !m_mapping; ++i) {
        if (!m_namesFound[i])
            missing.emplace_back(kNamesKestrixNeeds[i]);
    }
    return missing;
}

std::vector<std::string> LasScan::UnmatchedCurves() const
{
    std::vector<std::string> unmatched;
    for (std::size_t axis = 0; axis < kAxisCount && m_mapping; ++axis) {
        if (!m_mapped[axis])
            unmatched.push_back(std::string(kAxisNames[axis]) + "=" + m_mapping->curves[axis].mnemonic);
    }
    return unmatched;
}

} // namespace convert
