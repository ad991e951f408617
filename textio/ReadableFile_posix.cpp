#include "textio/ReadableFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {

std::FILE* OpenForReading(const std::string& path, ReadFrom from, OpenFault& fault)
{
    fault = OpenFault::CannotOpen;
    const int flags = O_RDONLY | O_CLOEXEC | (from == ReadFrom::RegularFileOnly ? O_NONBLOCK : 0);
    int fd;
    do
        fd = open(path.c_str(), flags);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    const bool examined = fstat(fd, &info) == 0;
    if (!examined || S_ISDIR(info.st_mode) || (from == ReadFrom::RegularFileOnly && !S_ISREG(info.st_mode))) {
        close(fd);
        if (examined && !S_ISDIR(info.st_mode))
            fault = OpenFault::NotARegularFile;
        return nullptr;
    }
    // The open did not wait; the reads may.
    if (from == ReadFrom::RegularFileOnly) {
        const int status = fcntl(fd, F_GETFL);
        if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
            close(fd);
            return nullptr;
        }
    }
    std::FILE* file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        return nullptr;
    }
    fault = OpenFault::None;
    return file;
}

} // namespace textio
