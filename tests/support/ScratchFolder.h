#pragma once

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

// A fresh folder under /tmp (or `parent`) for one test's files, removed with
// everything in it when the test ends.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& parent = "/tmp")
    {
        std::string pattern = parent + "/kestrix-test-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder");
        m_path = pattern;
    }
    ~ScratchFolder() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }

    // Names of everything in the folder, hidden files included, sorted.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        if (DIR* dir = opendir(m_path.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..")
                    names.push_back(name);
            }
            closedir(dir);
        }
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
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
