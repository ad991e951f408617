#include "convert/TextDecoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace convert {
namespace {

// Windows-1252's characters at 0x80 to 0x9F; its five unassigned bytes are
// taken as the ISO-8859-1 control characters of the same value.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kReplacement = 0xFFFD;

std::size_t PutUtf8(char32_t c, char* out)
{
    auto byte = [](char32_t v) { return static_cast<char>(static_cast<unsigned char>(v)); };
    if (c < 0x80) {
        out[0] = byte(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = byte(0xC0 | (c >> 6));
        out[1] = byte(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = byte(0xE0 | (c >> 12));
        out[1] = byte(0x80 | ((c >> 6) & 0x3F));
        out[2] = byte(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = byte(0xF0 | (c >> 18));
    out[1] = byte(0x80 | ((c >> 12) & 0x3F));
    out[2] = byte(0x80 | ((c >> 6) & 0x3F));
    out[3] = byte(0x80 | (c & 0x3F));
    return 4;
}

char32_t SingleByteCharacter(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char32_t{b};
}

// The length of the well-formed UTF-8 sequence at `p`: 0 when it is not one,
// -1 when `size` bytes hold only its start.
int Utf8SequenceLength(const unsigned char* p, std::size_t size)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        high = b == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) >= size)
            return -1;
        const unsigned char lowest = i == 1 ? low : 0x80, highest = i == 1 ? high : 0xBF;
        if (p[i] < lowest || p[i] > highest)
            return 0;
    }
    return length;
}

// Whether the bytes hold nothing but well-formed UTF-8 (a sequence cut at
// their end counts as well-formed).
bool IsUtf8(const unsigned char* p, std::size_t size)
{
    for (std::size_t i = 0; i < size;) {
        const int length = Utf8SequenceLength(p + i, size - i);
        if (length == 0)
            return false;
        if (length < 0)
            return true;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

// UTF-16 without a byte-order mark shows in its first line: every other byte
// zero, the others not. Byte offset 1 zero gives little-endian, 0 big-endian.
int ZeroByteParity(const unsigned char* p, std::size_t size)
{
    std::size_t end = 0;
    while (end + 1 < size && !((p[end] == '\n' && p[end + 1] == 0) || (p[end] == 0 && p[end + 1] == '\n')))
        end += 2;
    if (end < 2)
        return -1;
    for (int parity = 0; parity < 2; ++parity) {
        bool fits = true;
        for (std::size_t i = 0; i < end && fits; ++i)
            fits = (i % 2 == static_cast<std::size_t>(parity)) == (p[i] == 0);
        if (fits)
            return parity;
    }
    return -1;
}

// How many of the first `size` bytes at `p` are ASCII, looked at eight at a time.
std::size_t AsciiRun(const unsigned char* p, std::size_t size)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t run = 0;
    for (std::uint64_t word; run + 8 <= size; run += 8) {
        std::memcpy(&word, p + run, sizeof word);
        if (word & kHighBits)
            break;
    }
    while (run < size && p[run] < 0x80)
        ++run;
    return run;
}

} // namespace

bool TextDecoder::Refill()
{
    if (m_atEnd)
        return false;
    std::memmove(m_raw, m_raw + m_pos, m_end - m_pos);
    m_end -= m_pos;
    m_pos = 0;
    while (m_end < kRawSize) {
        const std::size_t got = std::fread(m_raw + m_end, 1, kRawSize - m_end, m_file);
        m_end += got;
        if (got == 0) {
            m_atEnd = true;
            m_failed = std::ferror(m_file) != 0;
            break;
        }
    }
    return true;
}

void TextDecoder::Start()
{
    m_started = true;
    Refill();
    const unsigned char* p = m_raw;
    if (m_end >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        m_pos = 3;
        m_encoding = Encoding::Utf8;
    } else if (m_end >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        m_pos = 2;
        m_encoding = Encoding::Utf16LE;
    } else if (m_end >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
        m_pos = 2;
        m_encoding = Encoding::Utf16BE;
    } else if (const int parity = ZeroByteParity(p, m_end); parity >= 0) {
        m_encoding = parity == 1 ? Encoding::Utf16LE : Encoding::Utf16BE;
    } else {
        m_encoding = IsUtf8(p, m_end) ? Encoding::Utf8 : Encoding::SingleByte;
    }
}

std::size_t TextDecoder::DecodeUtf16(char* out)
{
    const bool little = m_encoding == Encoding::Utf16LE;
    auto unit = [&](std::size_t at) {
        return little ? char32_t(m_raw[at] | (m_raw[at + 1] << 8)) : char32_t((m_raw[at] << 8) | m_raw[at + 1]);
    };
    const std::size_t available = m_end - m_pos;
    if (available < 2) {
        if (!m_atEnd)
            return 0;
        m_pos = m_end; // an odd last byte is no character
        return PutUtf8(kReplacement, out);
    }
    const char32_t first = unit(m_pos);
    if (first >= 0xD800 && first <= 0xDBFF) {
        if (available < 4 && !m_atEnd)
            return 0;
        if (available >= 4) {
            const char32_t second = unit(m_pos + 2);
            if (second >= 0xDC00 && second <= 0xDFFF) {
                m_pos += 4;
                return PutUtf8(0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), out);
            }
        }
    }
    m_pos += 2;
    return PutUtf8(first >= 0xD800 && first <= 0xDFFF ? kReplacement : first, out);
}

std::size_t TextDecoder::DecodeUtf8(char* out)
{
    const int length = Utf8SequenceLength(m_raw + m_pos, m_end - m_pos);
    if (length < 0 && !m_atEnd)
        return 0;
    if (length <= 0) {
        // A byte outside well-formed UTF-8 is taken as a single-byte character.
        return PutUtf8(SingleByteCharacter(m_raw[m_pos++]), out);
    }
    std::memcpy(out, m_raw + m_pos, static_cast<std::size_t>(length));
    m_pos += static_cast<std::size_t>(length);
    return static_cast<std::size_t>(length);
}

std::size_t TextDecoder::DecodeOne(char* out)
{
    switch (m_encoding) {
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return DecodeUtf16(out);
    case Encoding::SingleByte:
        return PutUtf8(SingleByteCharacter(m_raw[m_pos++]), out);
    case Encoding::Utf8:
        break;
    }
    return DecodeUtf8(out);
}

std::size_t TextDecoder::Read(char* out, std::size_t capacity)
{
    if (!m_started)
        Start();
    std::size_t written = 0;
    while (written + 4 <= capacity) {
        if (m_pos == m_end && !Refill())
            break;
        if (m_pos == m_end)
            break;
        // Plain ASCII bytes of UTF-8 go across in one copy.
        if (m_encoding == Encoding::Utf8 || m_encoding == Encoding::SingleByte) {
            const std::size_t most = std::min(m_end - m_pos, capacity - written);
            const std::size_t run = AsciiRun(m_raw + m_pos, most);
            if (run > 0) {
                std::memcpy(out + written, m_raw + m_pos, run);
                m_pos += run;
                written += run;
                continue;
            }
        }
        const std::size_t put = DecodeOne(out + written);
        if (put == 0 && !Refill())
            break;
        written += put;
    }
    return written;
}

} // namespace convert
