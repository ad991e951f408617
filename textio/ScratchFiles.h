#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// Scratch files: the temporary files that a safe write fills before renaming
// them over their target (".kestrix-PID-XXXXXX"). Their writer holds an
// exclusive lock on each until it is renamed or removed, so that one left
// behind by a process that died without cleaning up (killed outright) can be
// told from a live one's: the process id in the name cannot, as another PID
// namespace (a container, another host on a shared folder) reuses it.

namespace textio {

// The lock a writer holds on its scratch file: taken at the file's creation,
// kept after the file's stream is closed, released by Release() or the
// destructor (after the rename or removal).
class ScratchLock {
public:
    ScratchLock() = default;
    ~ScratchLock() { Release(); }
    ScratchLock(ScratchLock&& other) noexcept;
    ScratchLock& operator=(ScratchLock&& other) noexcept;

    // Takes over `descriptor`, open on a locked scratch file.
    void Hold(int descriptor);
    void Release();

private:
    int m_descriptor = -1;
};

// Creates a new, empty scratch file in `folder`, open for writing, and
// returns it (null on failure) with its path in `path` and its lock in
// `lock`. It gets the
// permission bits `permissions` when given (those of the file it is to
// replace), otherwise those of any new file: 0666 less the process's umask.
// Until ForgetScratchFile(path), the file is removed if the process is ended
// by SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ or SIGABRT (an uncaught
// exception ends in SIGABRT) whose action was the default; the signal then
// takes its default course.
std::FILE* CreateScratchFile(const std::string& folder, std::optional<unsigned> permissions, std::string& path,
                             ScratchLock& lock);

// The scratch file at `path` was renamed or removed: a signal no longer
// removes it.
void ForgetScratchFile(const std::string& path);

// Removes from `folder` the scratch files of this user that no writer holds:
// those unchanged for a minute whose lock it can take. Files of other users,
// locked ones and younger ones stay.
void RemoveDeadScratchFiles(const std::string& folder);

// Makes a write past the file-size limit (ulimit -f) fail as on a full disk,
// reported and cleaned up like any failed write, instead of ending the
// process with SIGXFSZ. Called first by the programs that write files.
void ReportOversizedWritesAsFailures();

// The name of a scratch file of process `owner`, its last six characters
// letters and digits taken from `bits`.
std::string ScratchFileName(long owner, std::uint64_t bits);

// The owning process of a scratch file's name; none for any other name.
std::optional<long> OwnerOfScratchFile(std::string_view name);

} // namespace textio
