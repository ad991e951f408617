#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// Scratch files: the temporary files that a safe write fills before renaming
// them over their target. Each carries its owner's process id in its name
// (".kestrix-PID-XXXXXX"), so that one left behind by a process that died
// without cleaning up (killed outright) can be told from a live one's.

namespace textio {

// Creates a new, empty scratch file in `folder`, open for writing, and
// returns it (null on failure) with its path in `path`. It gets the
// permission bits `permissions` when given (those of the file it is to
// replace), otherwise those of any new file: 0666 less the process's umask.
// Until ForgetScratchFile(path), the file is removed if the process is ended
// by SIGINT, SIGTERM, SIGHUP, SIGXFSZ or SIGABRT (an uncaught exception ends
// in SIGABRT) whose action was the default; the signal then takes its
// default course.
std::FILE* CreateScratchFile(const std::string& folder, std::optional<unsigned> permissions, std::string& path);

// The scratch file at `path` was renamed or removed: a signal no longer
// removes it.
void ForgetScratchFile(const std::string& path);

// Removes from `folder` the scratch files of this user whose owning process
// no longer exists. Files of other users and of live processes stay.
void RemoveDeadScratchFiles(const std::string& folder);

// The name of a scratch file of process `owner`, its last six characters
// letters and digits taken from `bits`.
std::string ScratchFileName(long owner, std::uint64_t bits);

// The owning process of a scratch file's name; none for any other name.
std::optional<long> OwnerOfScratchFile(std::string_view name);

} // namespace textio
