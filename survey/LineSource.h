#pragma once

#include "textio/ReadableFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace survey {

// Where the survey loader gets its lines from. A line is handed out in pieces,
// so that no line, however long, is ever held whole. A line ends at LF, or at
// CR together with the one character that follows it (so CR LF is one end).
class LineSource {
public:
    // The most characters of one line that a source hands out at once.
    static constexpr std::size_t kMaxPiece = std::size_t(1) << 20;

    virtual ~LineSource() = default;
    // Moves to the next line, passing over what is left of the current one;
    // false at the end of the input (no character left) or when the input
    // cannot be read further.
    virtual bool NextLine() = 0;
    // The next piece of the current line: 1 to kMaxPiece characters without
    // the line end, valid until the next call. False once the line has no
    // characters left.
    virtual bool NextPiece(std::string_view& piece) = 0;
    // True when reading stopped on an input error rather than at the end.
    virtual bool Failed() const { return false; }
    // How far reading has come and how much there is, in bytes (0 when
    // unknown): for showing progress, never for the reading itself.
    virtual std::uint64_t BytesTaken() const { return 0; }
    virtual std::uint64_t BytesInAll() const { return 0; }
};

// Lines of a text held in memory, in pieces of at most `maxPiece` characters.
class StringLineSource : public LineSource {
public:
    explicit StringLineSource(std::string_view text, std::size_t maxPiece = kMaxPiece);
    bool NextLine() override;
    bool NextPiece(std::string_view& piece) override;
    std::uint64_t BytesTaken() const override { return m_pos; }
    std::uint64_t BytesInAll() const override { return m_text.size(); }

private:
    std::string_view m_text;
    std::size_t m_maxPiece;
    std::size_t m_next = 0;      // where the next line starts
    std::size_t m_pos = 0;       // what the current line has not handed out yet
    std::size_t m_lineEnd = 0;   // where the current line's text ends
};

// Lines of a file, read through a fixed block: memory does not grow with the
// length of a line. `from` says which files are taken (textio/ReadableFile.h).
class FileLineSource : public LineSource {
public:
    explicit FileLineSource(const std::string& path, textio::ReadFrom from = textio::ReadFrom::AnyFile);
    ~FileLineSource() override;
    FileLineSource(const FileLineSource&) = delete;
    FileLineSource& operator=(const FileLineSource&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    // Why the file is not open.
    textio::OpenFault Fault() const { return m_fault; }
    bool NextLine() override;
    bool NextPiece(std::string_view& piece) override;
    bool Failed() const override { return m_failed; }
    std::uint64_t BytesTaken() const override { return m_blockStart + m_pos; }
    std::uint64_t BytesInAll() const override { return m_size; }

private:
    bool Fill();

    textio::OpenFault m_fault = textio::OpenFault::None;
    std::FILE* m_file = nullptr;
    char m_block[1 << 16];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::uint64_t m_blockStart = 0; // the file's bytes before the block
    std::uint64_t m_size = 0;       // the file's, when it is a plain file
    bool m_inLine = false; // the current line has not reached its end yet
    bool m_failed = false;
};

} // namespace survey
