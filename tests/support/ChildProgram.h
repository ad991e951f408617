#pragma once

// A program run as a child process of a test, and a FIFO fed by another.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Starts `program` with `args`, standard input on /dev/null, standard output
// on `outputPath` and standard error into the file `errorsPath`, with the
// signals a shell may have set aside back at their defaults.
inline pid_t StartProgram(const char* program, const std::vector<std::string>& args, const std::string& errorsPath,
                          const char* outputPath = "/dev/null")
{
    const pid_t child = fork();
    if (child != 0)
        return child;
    const int errors = open(errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int nothing = open("/dev/null", O_RDWR);
    const int output = open(outputPath, O_WRONLY);
    dup2(nothing, STDIN_FILENO);
    dup2(output, STDOUT_FILENO);
    dup2(errors, STDERR_FILENO);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        std::signal(signal, SIG_DFL);
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program, argv.data());
    _exit(127);
}

struct Finished {
    int status = 0;   // as waitpid gives it
    long peakKib = 0; // the child's largest resident size
};

inline Finished Wait(pid_t child)
{
    Finished finished;
    rusage usage{};
    while (wait4(child, &finished.status, 0, &usage) < 0 && errno == EINTR) {
    }
    finished.peakKib = usage.ru_maxrss;
    return finished;
}

// Text to feed: `unit` written `times` times over.
struct Stretch {
    std::string unit;
    long long times = 1;
};

// Writes every stretch into the FIFO at `path` from a child process, in
// writes of about a megabyte; a reader that stops early ends it.
inline pid_t StartFeeding(const std::string& path, const std::vector<Stretch>& stretches)
{
    const pid_t child = fork();
    if (child != 0)
        return child;
    std::signal(SIGPIPE, SIG_IGN);
    const int fd = open(path.c_str(), O_WRONLY);
    for (const auto& [unit, times] : stretches) {
        if (unit.empty())
            continue;
        const long long perChunk = std::min<long long>(times, (1 << 20) / static_cast<long long>(unit.size()) + 1);
        std::string chunk;
        for (long long i = 0; i < perChunk; ++i)
            chunk += unit;
        for (long long left = times; left > 0; left -= perChunk) {
            const std::size_t size = static_cast<std::size_t>(std::min(left, perChunk)) * unit.size();
            for (std::size_t done = 0; done < size;) {
                const ssize_t n = write(fd, chunk.data() + done, size - done);
                if (n <= 0)
                    _exit(0); // the reader went away
                done += static_cast<std::size_t>(n);
            }
        }
    }
    _exit(0);
}
