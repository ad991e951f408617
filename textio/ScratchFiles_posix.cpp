#include "textio/ScratchFiles.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace textio {
namespace {

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ, SIGABRT};
// Names to try before giving up when others of the folder keep matching.
constexpr int kNameAttempts = 100;
// A writer locks its file at once, so one younger than this may be a writer's
// that is about to lock it.
constexpr time_t kAbandonedAfterSeconds = 60;

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

// Bits for a name no other writer is likely to pick at the same moment; the
// exclusive creation, not these bits, keeps two writers apart.
std::uint64_t NameBits()
{
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t z = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
                    + (counter.fetch_add(1) + 1) * 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// Creates the file at `path` if nothing is there; -1 with errno otherwise.
// No signal may come between the file's creation and its registration.
int CreateRemembered(const std::string& path, mode_t mode)
{
    const sigset_t cleaned = CleanedSignals();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &cleaned, &previous);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    const int savedErrno = errno;
    if (fd >= 0)
        Remember(path);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = savedErrno;
    return fd;
}

// Locks the new file at `fd` and returns a second descriptor that holds the
// lock once the first is closed; -1 when a sweep took the lock first (a
// clock that makes a new file look old), and the file is left to it.
int LockNewScratchFile(int fd)
{
    // A file system without locks leaves the file unlocked: no sweep can
    // lock it either, so none removes it.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return -1;
    return fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

// Whether this process is writing the scratch file at `path`. A lock may not
// keep it from a sweep of its own (a network file system that makes every
// lock a process's), so the sweep passes over it by name.
bool IsWrittenHere(const std::string& path)
{
    const pid_t self = getpid();
    for (const PendingScratch& slot : g_pending) {
        if (slot.owner.load() == self && path == slot.path)
            return true;
    }
    return false;
}

bool LooksAbandoned(const struct stat& info, uid_t user, time_t now)
{
    return S_ISREG(info.st_mode) && info.st_uid == user && now - info.st_mtime >= kAbandonedAfterSeconds;
}

// Removes the scratch file `name` when it looks abandoned and no writer holds
// its lock, and only the file that was locked, never one renamed into its
// place meanwhile.
void RemoveIfAbandoned(int dirFd, const char* name, uid_t user, time_t now)
{
    struct stat named {};
    if (fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !LooksAbandoned(named, user, now))
        return;
    // Opening for reading or writing, whichever its bits allow, neither
    // changes the file nor blocks.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = openat(dirFd, name, O_RDONLY | kFlags);
    if (fd < 0)
        fd = openat(dirFd, name, O_WRONLY | kFlags);
    if (fd < 0)
        return;
    struct stat locked {};
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &locked) == 0 && LooksAbandoned(locked, user, now)
        && fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == locked.st_dev
        && named.st_ino == locked.st_ino)
        unlinkat(dirFd, name, 0);
    close(fd);
}

} // namespace

ScratchLock::ScratchLock(ScratchLock&& other) noexcept : m_descriptor(other.m_descriptor)
{
    other.m_descriptor = -1;
}

ScratchLock& ScratchLock::operator=(ScratchLock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_descriptor = other.m_descriptor;
        other.m_descriptor = -1;
    }
    return *this;
}

void ScratchLock::Hold(int descriptor)
{
    Release();
    m_descriptor = descriptor;
}

void ScratchLock::Release()
{
    if (m_descriptor >= 0)
        close(m_descriptor);
    m_descriptor = -1;
}

std::FILE* CreateScratchFile(const std::string& folder, std::optional<unsigned> permissions, std::string& path,
                             ScratchLock& lock)
{
    InstallHandlers();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = folder + "/" + ScratchFileName(getpid(), NameBits());
        // A file that replaces another starts readable by its owner only and
        // then takes the earlier file's bits; a new one gets the umask's say.
        const int fd = CreateRemembered(candidate, permissions ? 0600 : 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return nullptr;
        const int lockFd = LockNewScratchFile(fd);
        if (lockFd < 0) {
            const bool takenBySweep = errno == EWOULDBLOCK;
            close(fd);
            ForgetScratchFile(candidate);
            if (takenBySweep)
                continue;
            unlink(candidate.c_str());
            return nullptr;
        }
        lock.Hold(lockFd);
        // Should this fail, the file stays readable by its owner only.
        if (permissions)
            fchmod(fd, static_cast<mode_t>(*permissions & 0777));
        std::FILE* file = fdopen(fd, "wb");
        if (!file) {
            close(fd);
            unlink(candidate.c_str());
            ForgetScratchFile(candidate);
            lock.Release();
            return nullptr;
        }
        path = candidate;
        return file;
    }
    return nullptr;
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
    const time_t now = time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        if (OwnerOfScratchFile(entry->d_name) && !IsWrittenHere(folder + "/" + entry->d_name))
            RemoveIfAbandoned(dirFd, entry->d_name, user, now);
    }
    closedir(dir);
}

void ReportOversizedWritesAsFailures() { signal(SIGXFSZ, SIG_IGN); }

} // namespace textio
