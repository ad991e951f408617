// Reads every #include of the C++ files under a source tree and reports each
// one that the layers' dependency rule does not allow: a layer reaching above
// itself, anything reaching into app, a core or batch including Qt. Exit
// status 0 when there is none, 1 otherwise, 2 on bad usage.
//
//   check_layer_includes SOURCE_DIR
#include "LayerRule.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace {

bool IsSourceFile(const fs::path& path)
{
    const std::string extension = path.extension().string();
    return extension == ".cpp" || extension == ".h" || extension == ".in";
}

// The header of an #include line and whether it is in angle brackets; false
// for any other line.
bool ParseInclude(std::string_view line, std::string& header, bool& angled)
{
    const auto skipBlanks = [&line] {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
    };
    skipBlanks();
    if (!line.starts_with('#'))
        return false;
    line.remove_prefix(1);
    skipBlanks();
    if (!line.starts_with("include"))
        return false;
    line.remove_prefix(7);
    skipBlanks();
    if (line.empty() || (line.front() != '"' && line.front() != '<'))
        return false;
    angled = line.front() == '<';
    const std::size_t end = line.find(angled ? '>' : '"', 1);
    if (end == std::string_view::npos)
        return false;
    header = line.substr(1, end - 1);
    return true;
}

std::string Joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text;
}

// The faults of one file, reported on `out`; their number.
int CheckFile(const fs::path& file, const std::string& path, std::ostream& out)
{
    const std::string layer = LayerOfFile(path);
    if (layer.empty())
        return 0;
    if (layer == "?") {
        out << path << ": no layer is known for this file; give it one in tests/layers/LayerRule.cpp\n";
        return 1;
    }
    const bool test = IsTestFile(path);
    const std::vector<std::string> allowed = AllowedIncludes(layer, test);
    std::ifstream in(file);
    std::string line;
    int faults = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string header;
        bool angled = false;
        if (!ParseInclude(line, header, angled) || header.empty())
            continue;
        const std::string named = LayerOfInclude(header);
        if (!named.empty() && std::find(allowed.begin(), allowed.end(), named) == allowed.end()) {
            out << path << ':' << number << ": " << layer << " may not include " << header << " (it may include "
                << Joined(allowed) << ")\n";
            ++faults;
        } else if (!test && IsQtFree(layer) && angled && header[0] == 'Q') {
            out << path << ':' << number << ": " << layer << " stays free of Qt and may not include <" << header
                << ">\n";
            ++faults;
        }
    }
    return faults;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: check_layer_includes SOURCE_DIR\n";
        return 2;
    }
    const fs::path root = argv[1];
    int faults = 0;
    int files = 0;
    for (auto entry = fs::recursive_directory_iterator(root); entry != fs::recursive_directory_iterator(); ++entry) {
        // Build trees and the repository's own folders hold no source of the project.
        const std::string name = entry->path().filename().string();
        if (entry->is_directory() && (name.starts_with(".") || fs::exists(entry->path() / "CMakeCache.txt"))) {
            entry.disable_recursion_pending();
            continue;
        }
        if (!entry->is_regular_file() || !IsSourceFile(entry->path()))
            continue;
        ++files;
        faults += CheckFile(entry->path(), entry->path().lexically_relative(root).generic_string(), std::cout);
    }
    if (files == 0) {
        std::cout << root.string() << ": no source files\n";
        return 1;
    }
    std::cout << files << " files, " << faults << " includes against the layers' dependency rule\n";
    return faults == 0 ? 0 : 1;
}
