#include "textio/FileFacts.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {
namespace {

FileFacts FactsFrom(const struct stat& info)
{
    FileFacts facts;
    facts.device = static_cast<std::uint64_t>(info.st_dev);
    facts.inode = static_cast<std::uint64_t>(info.st_ino);
    facts.regular = S_ISREG(info.st_mode);
    facts.folder = S_ISDIR(info.st_mode);
    facts.permissions = static_cast<unsigned>(info.st_mode & 0777);
    facts.size = facts.regular && info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    return facts;
}

} // namespace

std::optional<FileFacts> FactsOf(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return FactsFrom(info);
}

std::optional<FileFacts> FactsOf(std::FILE* file)
{
    struct stat info {};
    if (!file || fstat(fileno(file), &info) != 0)
        return std::nullopt;
    return FactsFrom(info);
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

bool MayWrite(const std::string& path) { return access(path.c_str(), W_OK) == 0; }

std::string ResolvedPath(const std::string& path)
{
    char* real = realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string resolved = real;
    std::free(real);
    return resolved;
}

} // namespace textio
