#include "convert/LasHeaderLine.h"

namespace convert {

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void LasHeaderLine::Take(std::string_view text)
{
    if (m_text.size() < m_longest)
        m_text.append(text.substr(0, m_longest - m_text.size()));
}

std::string_view LasHeaderLine::Mnemonic() const
{
    const std::string_view text = m_text;
    return TrimBlanks(text.substr(0, text.find_first_of(".:")));
}

std::string_view LasHeaderLine::Unit() const
{
    const std::string_view text = m_text;
    const std::size_t dot = text.find_first_of(".:");
    if (dot == std::string_view::npos || text[dot] != '.')
        return {};
    const std::string_view rest = text.substr(dot + 1);
    return rest.substr(0, rest.find_first_of(" \t:"));
}

std::string_view LasHeaderLine::Value() const
{
    const std::string_view text = m_text;
    const std::size_t dot = text.find_first_of(".:");
    if (dot == std::string_view::npos || text[dot] != '.')
        return {};
    const std::size_t unitEnd = text.find_first_of(" \t:", dot + 1);
    if (unitEnd == std::string_view::npos)
        return {};
    const std::size_t colon = text.rfind(':');
    const std::size_t end = colon == std::string_view::npos || colon < unitEnd ? text.size() : colon;
    return TrimBlanks(text.substr(unitEnd, end - unitEnd));
}

std::string_view LasHeaderLine::SectionName() const
{
    const std::string_view text = TrimBlanks(m_text);
    if (text.empty() || text.front() != '~')
        return {};
    const std::string_view rest = text.substr(1);
    return rest.substr(0, rest.find_first_of(" \t|"));
}

} // namespace convert
