#include "survey/HoleName.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"

#include <cstdint>

namespace survey {
namespace {

// The code point starting at `text[i]`, advancing i past it; -1 when the
// bytes there are not well-formed UTF-8 (overlong forms and surrogates included).
std::int32_t NextCodePoint(std::string_view text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return static_cast<std::int32_t>(lead);
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size())
        return -1;
    std::int32_t code = static_cast<std::int32_t>(lead & (0x7Fu >> length));
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return -1;
        code = (code << 6) | static_cast<std::int32_t>(byte(i + k) & 0x3F);
    }
    static constexpr std::int32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return -1;
    i += length;
    return code;
}

bool IsControl(std::int32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

} // namespace

std::string HoleNameProblem(std::string_view name)
{
    if (name.empty())
        return "a hole's name is not empty";
    if (name.size() > kMaxHoleNameBytes)
        return textio::Format("a hole's name is at most %zu bytes", kMaxHoleNameBytes);
    if (name.front() == ' ' || name.back() == ' ')
        return "a hole's name neither starts nor ends with a space";
    for (std::size_t i = 0; i < name.size();) {
        const std::int32_t code = NextCodePoint(name, i);
        if (code < 0)
            return "a hole's name is UTF-8 text";
        if (IsControl(code))
            return "a hole's name holds no control characters (tabs and line ends among them)";
    }
    return std::string();
}

std::string HoleNameOf(const CKestrixDoc& doc)
{
    if (!doc.m_holeName.empty())
        return doc.m_holeName;
    const std::string& path = doc.m_strFilePath;
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace survey
