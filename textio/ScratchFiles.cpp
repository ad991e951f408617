#include "textio/ScratchFiles.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {
namespace {

constexpr std::string_view kPrefix = ".kestrix-";
constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ, SIGABRT};

// A scratch file that a signal must remove. `owner` is 0 for a free slot, -1
// while a slot is being filled, otherwise the id of the process that made the
// file (a child made by fork() must not remove its parent's files).
struct PendingScratch {
    std::atomic<pid_t> owner{0};
    char path[PATH_MAX];
};
static_assert(std::atomic<pid_t>::is_always_lock_free, "read from a signal handler");

PendingScratch g_pending[8];

void RemovePendingScratchAndDie(int signal)
{
    const int savedErrno = errno;
    const pid_t self = getpid();
    for (PendingScratch& slot : g_pending) {
        if (slot.owner.load() == self)
            unlink(slot.path);
    }
    // The default action follows as soon as the handler returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
    errno = savedErrno;
}

sigset_t CleanedSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kCleanedSignals)
        sigaddset(&set, signal);
    return set;
}

// Takes over each of the signals whose action is the default; one the program
// ignores or handles itself is left alone.
void InstallHandlers()
{
    for (int signal : kCleanedSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO)
            || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction cleanup {};
        cleanup.sa_handler = RemovePendingScratchAndDie;
        cleanup.sa_mask = CleanedSignals();
        sigaction(signal, &cleanup, nullptr);
    }
}

void Remember(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return;
    for (PendingScratch& slot : g_pending) {
        pid_t free = 0;
        if (slot.owner.compare_exchange_strong(free, -1)) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            slot.owner.store(getpid());
            return;
        }
    }
    // Every slot taken: this file is left to the destructor and the sweep.
}

bool IsScratchSuffixChar(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The owner's process id from a name ".kestrix-PID-XXXXXX".
bool OwnerOfScratchName(std::string_view name, pid_t& pid)
{
    if (name.substr(0, kPrefix.size()) != kPrefix)
        return false;
    name.remove_prefix(kPrefix.size());
    long value = 0;
    std::size_t digits = 0;
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9' && digits < 10) {
        value = value * 10 + (name[digits] - '0');
        ++digits;
    }
    if (digits == 0 || value <= 0 || value > INT_MAX || name.size() != digits + 7 || name[digits] != '-')
        return false;
    for (char c : name.substr(digits + 1)) {
        if (!IsScratchSuffixChar(c))
            return false;
    }
    pid = static_cast<pid_t>(value);
    return true;
}

} // namespace

int CreateScratchFile(const std::string& folder, std::string& path)
{
    InstallHandlers();
    std::string pattern = folder + "/" + std::string(kPrefix) + std::to_string(getpid()) + "-XXXXXX";
    // No signal may come between the file's creation and its registration.
    const sigset_t cleaned = CleanedSignals();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &cleaned, &previous);
    const int fd = mkstemp(pattern.data());
    if (fd >= 0)
        Remember(pattern);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (fd >= 0)
        path = std::move(pattern);
    return fd;
}

void ForgetScratchFile(const std::string& path)
{
    const pid_t self = getpid();
    for (PendingScratch& slot : g_pending) {
        if (slot.owner.load() == self && path == slot.path) {
            slot.owner.store(0);
            return;
        }
    }
}

void RemoveDeadScratchFiles(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    const int dirFd = dirfd(dir);
    const uid_t user = geteuid();
    const pid_t self = getpid();
    while (const dirent* entry = readdir(dir)) {
        pid_t owner = 0;
        struct stat info {};
        if (!OwnerOfScratchName(entry->d_name, owner) || owner == self
            || fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)
            || info.st_uid != user)
            continue;
        // Only a process that does not exist is dead; EPERM means it lives.
        if (kill(owner, 0) != 0 && errno == ESRCH)
            unlinkat(dirFd, entry->d_name, 0);
    }
    closedir(dir);
}

} // namespace textio
