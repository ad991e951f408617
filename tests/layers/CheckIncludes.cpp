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
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

bool IsSourceFile(const fs::path& path)
{
    const std::string extension = path.extension().string();
    return extension == ".cpp" || extension == ".h" || extension == ".in";
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
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    const bool test = IsTestFile(path);
    const std::vector<std::string> allowed = AllowedIncludes(layer, test);
    std::ifstream in(file);
    std::string line;
    int faults = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        std::smatch match;
        if (!std::regex_search(line, match, include))
            continue;
        const std::string header = match[2];
        const std::string named = LayerOfInclude(header);
        if (!named.empty() && std::find(allowed.begin(), allowed.end(), named) == allowed.end()) {
            out << path << ':' << number << ": " << layer << " may not include " << header << " (it may include "
                << Joined(allowed) << ")\n";
            ++faults;
        } else if (!test && IsQtFree(layer) && match[1] == "<" && header[0] == 'Q') {
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
