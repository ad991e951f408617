#include "batch/PlotHandover.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <ostream>
#include <string>
#include <unistd.h>

namespace {

// The folder of the running executable, wherever it was started from;
// empty when the system does not say.
std::string ExecutableFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length == static_cast<ssize_t>(sizeof path))
        return {};
    const std::string executable(path, static_cast<std::size_t>(length));
    return executable.substr(0, executable.rfind('/') + 1);
}

} // namespace

int HandOverToPlotProgram(const char* program, char** argv, std::ostream& err)
{
    const std::string folder = ExecutableFolder();
    if (folder.empty()) {
        err << "kestrix-batch plot is not available: the folder of kestrix-batch is not known\n";
        return 1;
    }
    const std::string path = folder + program;
    execv(path.c_str(), argv);
    err << "kestrix-batch plot is not available: " << path << " cannot be run (" << std::strerror(errno) << ")\n";
    return 1;
}
