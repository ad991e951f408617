#pragma once

#include "survey/MessageSink.h"

#include <string>
#include <unistd.h>

// Messages of the survey core go nowhere while fuzzing.
class NullSink : public survey::MessageSink {
public:
    void ShowMessage(const std::string&) override {}
};

// A per-process scratch file name, so parallel fuzzing jobs never share files;
// in memory where the machine has it, since every export syncs its file.
inline std::string FuzzTempPath(const char* suffix)
{
    const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/kestrix-fuzz-" + std::to_string(getpid()) + suffix;
}
