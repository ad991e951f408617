#include "convert/DataRecords.h"

#include "convert/LasHeaderLine.h"
#include "convert/RawSurveyText.h"
#include "textio/TokenText.h"

namespace convert {
namespace {

std::size_t SeparatorOrEnd(std::string_view text)
{
    return static_cast<std::size_t>(textio::FindTokenSeparator(text.data(), text.data() + text.size()) - text.data());
}

std::string_view SkipSeparators(std::string_view text)
{
    return text.substr(static_cast<std::size_t>(
        textio::SkipTokenSeparators(text.data(), text.data() + text.size()) - text.data()));
}

std::string_view TrimLeft(std::string_view text, std::string_view blanks)
{
    const std::size_t first = text.find_first_not_of(blanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRight(std::string_view text, std::string_view blanks)
{
    const std::size_t last = text.find_last_not_of(blanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

} // namespace

bool NullValue::MatchesText(std::string_view token) const
{
    if (token == text)
        return true;
    double read = 0.0;
    return numeric && WholeDecimalValue(token, read) && read == value;
}

void DataRecords::SetNull(NullValue null)
{
    m_null = std::move(null);
    m_nullField.clear();
    if (m_null.numeric)
        AppendValueField(m_nullField, m_null.value);
}

// Whether a written value, `token` as `field`, is the NULL value. Equal
// numbers are written alike, so another field rules a number out cheaply.
bool DataRecords::IsNull(std::string_view token, std::string_view field) const
{
    if (m_null.text.empty())
        return false;
    if (token == m_null.text)
        return true;
    return m_null.numeric && field == m_nullField && m_null.Matches(token);
}

bool DataRecords::Take(const LinePiece& piece)
{
    if (piece.first) {
        m_lineDone = false;
        m_firstToken = true;
        m_tokenStarted = false;
        m_inQuotes = false;
    }
    if (m_ended)
        return true;
    switch (m_delimiter) {
    case Delimiter::Comma:
        return TakeDelimited(piece, ',');
    case Delimiter::Tab:
        return TakeDelimited(piece, '\t');
    case Delimiter::Blanks:
        break;
    }
    return TakeBlankParted(piece);
}

bool DataRecords::TakeBlankParted(const LinePiece& piece)
{
    std::string_view text = piece.text;
    while (!m_lineDone && !text.empty()) {
        if (m_token.empty()) {
            text = SkipSeparators(text);
            if (text.empty())
                break;
            if (m_firstToken && text.front() == '#') {
                m_lineDone = true;
                break;
            }
            if (m_firstToken && text.front() == '~' && m_sectionsEndData) {
                m_ended = true;
                return true;
            }
        }
        const std::size_t end = SeparatorOrEnd(text);
        const bool complete = end < text.size() || piece.last;
        const std::string_view part = text.substr(0, end);
        text.remove_prefix(end);
        if (m_token.size() + part.size() > m_longestToken)
            return false;
        if (!complete) {
            m_token.append(part); // the token goes on in the next piece
            break;
        }
        if (m_token.empty()) {
            TakeToken(part, piece.line);
        } else {
            m_token.append(part);
            TakeToken(m_token, piece.line);
            m_token.clear();
        }
    }
    if (piece.last) {
        if (!m_token.empty() && !m_lineDone)
            TakeToken(m_token, piece.line);
        m_token.clear();
    }
    return true;
}

bool DataRecords::TakeDelimited(const LinePiece& piece, char delimiter)
{
    // Blanks around a value do not count; a tab does when it parts values.
    const std::string_view blanks = delimiter == '\t' ? " " : " \t";
    std::string_view text = piece.text;
    while (!m_lineDone && !text.empty()) {
        if (!m_tokenStarted) {
            text = TrimLeft(text, blanks);
            if (text.empty())
                break;
            if (text.front() == '#') {
                m_lineDone = true;
                break;
            }
            if (text.front() == '~' && m_sectionsEndData) {
                m_ended = true;
                return true;
            }
            m_tokenStarted = true;
        }
        // A delimiter inside double quotes belongs to a text value.
        std::size_t cut = 0;
        for (; cut < text.size(); ++cut) {
            if (text[cut] == '"')
                m_inQuotes = !m_inQuotes;
            else if (text[cut] == delimiter && !m_inQuotes)
                break;
        }
        if (cut == text.size())
            cut = std::string_view::npos;
        const std::string_view part = m_token.empty() ? TrimLeft(text.substr(0, cut), blanks) : text.substr(0, cut);
        if (m_token.size() + part.size() > m_longestToken)
            return false;
        m_token.append(part);
        if (cut == std::string_view::npos)
            break;
        text.remove_prefix(cut + 1);
        TakeToken(TrimRight(m_token, blanks), piece.line);
        m_token.clear();
    }
    if (piece.last) {
        // A line's last value needs no delimiter after it; an empty one is none.
        const std::string_view last = TrimRight(m_token, blanks);
        if (!last.empty() && !m_lineDone)
            TakeToken(last, piece.line);
        m_token.clear();
    }
    return true;
}

void DataRecords::TakeToken(std::string_view token, std::int64_t line)
{
    m_firstToken = false;
    if (m_values == 0) {
        m_previewing = m_preview && m_preview->size() < m_previewCount;
        if (m_previewing)
            m_preview->emplace_back();
    }
    if (m_previewing)
        m_preview->back().emplace_back(token.substr(0, m_previewCharacters));
    const signed char role = RoleOf(m_values);
    if (role == ColumnRole::kWritten) {
        char* at = m_record.Room(kLongestValueField + 1);
        if (!m_record.Empty())
            *at++ = ' ';
        const PutField put = PutTokenField(at, token);
        const std::string_view field(at, static_cast<std::size_t>(put.end - at));
        m_record.Extend(put.end);
        if (!put.wholeNumber && m_notNumbers++ == 0)
            m_firstNotNumberLine = line;
        if (!m_mapping && m_columns < static_cast<int>(kAxisCount) && IsNull(token, field))
            m_nullSeen = true;
        ++m_columns;
    } else if (role >= 0) {
        double value = 0.0;
        if (!WholeDecimalValue(token, value) || m_null.MatchesNumber(token, value))
            m_badMapped = true;
        else
            m_mapped[static_cast<std::size_t>(role)] = value * m_factors[static_cast<std::size_t>(role)];
    }
    if (++m_values < m_curveCount)
        return;
    EndRecord(line);
}

void DataRecords::EndRecord(std::int64_t line)
{
    if (!m_mapping) {
        m_record.Append("\r\n");
        if (m_out)
            m_out->Write(m_record.View());
        ++m_written;
        m_nullRecords += m_nullSeen ? 1 : 0;
    } else if (m_badMapped) {
        if (m_leftOut++ == 0)
            m_firstLeftOutLine = line;
    } else {
        std::string mapped;
        for (std::size_t i = 0; i < kAxisCount; ++i) {
            if (i > 0)
                mapped.push_back(' ');
            AppendValueField(mapped, m_mapped[i]);
        }
        if (!m_record.Empty())
            mapped.append(" ").append(m_record.View());
        mapped.append("\r\n");
        if (m_out)
            m_out->Write(mapped);
        ++m_written;
    }
    m_record.Clear();
    m_values = 0;
    m_columns = 0;
    m_badMapped = false;
    m_nullSeen = false;
    m_lineDone = true;
}

} // namespace convert
