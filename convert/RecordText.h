#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace convert {

// The text of one data record as it is built field by field: fields are
// written straight into room at its end, and the room is kept from record to
// record, so that building a record costs no allocation and no call per field.
class RecordText {
public:
    // Room for `size` more characters at the end: write them there, then
    // call Extend with the end of what was written.
    char* Room(std::size_t size)
    {
        if (m_room - m_size < size)
            Grow(m_size + size);
        return m_text.get() + m_size;
    }
    void Extend(const char* end) { m_size = static_cast<std::size_t>(end - m_text.get()); }
    void Append(std::string_view text)
    {
        std::memcpy(Room(text.size()), text.data(), text.size());
        m_size += text.size();
    }
    bool Empty() const { return m_size == 0; }
    std::string_view View() const { return std::string_view(m_text.get(), m_size); }
    void Clear() { m_size = 0; }

private:
    void Grow(std::size_t least)
    {
        const std::size_t room = least > 2 * m_room ? least : 2 * m_room;
        std::unique_ptr<char[]> text(new char[room]);
        if (m_size > 0)
            std::memcpy(text.get(), m_text.get(), m_size);
        m_text = std::move(text);
        m_room = room;
    }

    std::unique_ptr<char[]> m_text;
    std::size_t m_size = 0;
    std::size_t m_room = 0;
};

} // namespace convert
