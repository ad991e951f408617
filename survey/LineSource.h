#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Where the survey loader gets its lines from. A line ends at LF, or at CR
// together with the one character that follows it (so CR LF is one end).
class LineSource {
public:
    virtual ~LineSource() = default;
    // Next line without its end into `line`; false at the end of the input
    // (no character left) or when the input cannot be read further.
    virtual bool ReadLine(std::string& line) = 0;
    // True when reading stopped on an input error rather than at the end.
    virtual bool Failed() const { return false; }
};

// Lines of a text held in memory.
class StringLineSource : public LineSource {
public:
    explicit StringLineSource(std::string_view text) : m_text(text) {}
    bool ReadLine(std::string& line) override;

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Lines of a file, read whole whatever their length.
class FileLineSource : public LineSource {
public:
    explicit FileLineSource(const std::string& path);
    ~FileLineSource() override;
    FileLineSource(const FileLineSource&) = delete;
    FileLineSource& operator=(const FileLineSource&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    bool ReadLine(std::string& line) override;
    bool Failed() const override { return m_failed; }

private:
    bool Fill();

    std::FILE* m_file = nullptr;
    char m_buffer[1 << 16];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_failed = false;
};
