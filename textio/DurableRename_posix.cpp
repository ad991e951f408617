#include "textio/DurableRename.h"

#include <unistd.h>

namespace textio {

bool FlushToDisk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

// rename() replaces its target atomically on every POSIX file system.
bool ReplaceFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

} // namespace textio
