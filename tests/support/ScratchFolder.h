#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <stdlib.h>

// A fresh folder under the temporary folder (or `parent`) for one test's
// files, removed with everything in it when the test ends.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& parent = std::filesystem::temp_directory_path().string())
    {
        std::string pattern = parent + "/kestrix-test-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder");
        m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored; // a test that broke the folder must not throw from here
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // The path of `name` inside the folder.
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // Names of everything in the folder, hidden files included, sorted.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The scratch files of safe writes left in the folder.
    std::vector<std::string> ScratchFiles() const
    {
        std::vector<std::string> names = Entries();
        std::erase_if(names, [](const std::string& name) { return name.rfind(".kestrix-", 0) != 0; });
        return names;
    }

private:
    std::string m_path;
};

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
