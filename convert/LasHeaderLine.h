#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace convert {

// One line of a LAS header section, `MNEM.UNIT  VALUE : DESCRIPTION`, or a
// section line `~Name ...`, gathered across the pieces of the line. Keeps the
// first `longest` characters: header values that matter are short.
class LasHeaderLine {
public:
    explicit LasHeaderLine(std::size_t longest) : m_longest(longest) {}

    void Start() { m_text.clear(); }
    void Take(std::string_view text);

    // The mnemonic: the text before the first "." (or ":"), without blanks.
    std::string_view Mnemonic() const;
    // The unit: from right after the first "." to the next blank or ":".
    std::string_view Unit() const;
    // The value: after the unit up to the last ":", without blanks.
    std::string_view Value() const;
    // A section line's name: from after "~" to the first blank or "|".
    std::string_view SectionName() const;

private:
    std::size_t m_longest;
    std::string m_text;
};

// `text` without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

} // namespace convert
