#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace textio {

// What the file system tells of one file, symbolic links followed.
struct FileFacts {
    std::uint64_t device = 0; // device and inode together name the file,
    std::uint64_t inode = 0;  // whatever path or link reaches it
    bool regular = false;     // a plain file: no folder, device or pipe
    bool folder = false;
    unsigned permissions = 0; // read, write and execute bits of owner, group and others
    std::uint64_t size = 0;   // bytes, for a plain file

    bool IsSameFileAs(const FileFacts& other) const { return device == other.device && inode == other.inode; }
};

// The facts of the file at `path`; none when nothing is there or it cannot
// be examined.
std::optional<FileFacts> FactsOf(const std::string& path);
// The facts of an open file; none when they cannot be had.
std::optional<FileFacts> FactsOf(std::FILE* file);

// Whether `stream` is open on a terminal.
bool IsTerminal(std::FILE* stream);

// Whether this process may write to the existing file at `path`.
bool MayWrite(const std::string& path);

// `path` with every symbolic link, "." and ".." resolved; `path` itself when
// it cannot be resolved.
std::string ResolvedPath(const std::string& path);

// Whether both paths name one existing file, under whatever names.
inline bool IsSameFile(const std::string& a, const std::string& b)
{
    const std::optional<FileFacts> first = FactsOf(a), second = FactsOf(b);
    return first && second && first->IsSameFileAs(*second);
}

} // namespace textio
