#include "textio/DurableRename.h"

#include <fcntl.h>
#include <unistd.h>

namespace textio {

bool FlushToDisk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

void StartWritingToDisk(std::FILE* file)
{
#if defined(__linux__)
    // Errors show again, and are reported, when FlushToDisk waits.
    (void)sync_file_range(fileno(file), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)file;
#endif
}

// rename() replaces its target atomically on every POSIX file system.
bool ReplaceFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

} // namespace textio
