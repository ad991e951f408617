#pragma once

#include <string>
#include <unistd.h>

// A per-process scratch file name, so parallel fuzzing jobs never share files;
// in memory where the machine has it, since every export syncs its file.
inline std::string FuzzTempPath(const char* suffix)
{
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/kestrix-fuzz-" + std::to_string(getpid()) + suffix;
}
