#pragma once

#include <cstddef>
#include <cstdio>

namespace convert {

// Reads a text file in whatever encoding it came in and hands it on as UTF-8:
// UTF-8 with or without a byte-order mark, UTF-16 of either byte order with a
// byte-order mark or, without one, when every other byte of the first line is
// zero, and single-byte text (Windows-1252, which covers ISO-8859-1's printable
// characters) when the first block is not valid UTF-8. Decodes while reading:
// holds one block of the file and nothing more.
class TextDecoder {
public:
    enum class Encoding { Utf8, Utf16LE, Utf16BE, SingleByte };

    explicit TextDecoder(std::FILE* file) : m_file(file) {}
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // Fills `out` with up to `capacity` bytes (at least 4) of UTF-8 text;
    // 0 at the end of the file or when reading fails (see Failed()).
    std::size_t Read(char* out, std::size_t capacity);
    bool Failed() const { return m_failed; }
    // The file's encoding, known once the first Read has returned.
    Encoding FileEncoding() const { return m_encoding; }

private:
    static constexpr std::size_t kRawSize = 1 << 14;

    void Start();
    bool Refill();
    // Decodes one character at m_pos into `out`: the bytes written, or 0 when
    // the raw block holds only the start of a character.
    std::size_t DecodeOne(char* out);
    std::size_t DecodeUtf16(char* out);
    std::size_t DecodeUtf8(char* out);

    std::FILE* m_file;
    unsigned char m_raw[kRawSize];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_started = false;
    bool m_atEnd = false; // nothing more to read from the file
    bool m_failed = false;
    Encoding m_encoding = Encoding::Utf8;
};

} // namespace convert
