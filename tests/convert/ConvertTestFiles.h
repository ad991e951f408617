#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

// A scratch folder removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrix-convert-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder");
        m_path = pattern;
    }
    ~ScratchFolder() { std::filesystem::remove_all(m_path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    std::ptrdiff_t FileCount() const
    {
        return std::distance(std::filesystem::directory_iterator(m_path), std::filesystem::directory_iterator());
    }

private:
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The text with CR LF turned into LF; a bare LF or a lone CR fails the test,
// since every line of a raw survey file ends in CR LF.
inline std::string WithoutCR(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pairedCR = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        const bool pairedLF = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
        EXPECT_TRUE(pairedCR || pairedLF || (text[i] != '\r' && text[i] != '\n')) << "line end at " << i;
        if (text[i] != '\r')
            out.push_back(text[i]);
    }
    return out;
}
