#pragma once

#include <string>

// Scratch files: the temporary files that a safe write fills before renaming
// them over their target. Each carries its owner's process id in its name
// (".kestrix-PID-XXXXXX"), so that one left behind by a process that died
// without cleaning up (killed outright) can be told from a live one's.

namespace textio {

// Creates a new, empty scratch file in `folder` and returns its descriptor
// (-1 on failure) with its path in `path`. Until ForgetScratchFile(path), the
// file is removed if the process is ended by SIGINT, SIGTERM, SIGHUP, SIGXFSZ
// or SIGABRT (an uncaught exception ends in SIGABRT) whose action was the
// default; the signal then takes its default course.
int CreateScratchFile(const std::string& folder, std::string& path);

// The scratch file at `path` was renamed or removed: a signal no longer
// removes it.
void ForgetScratchFile(const std::string& path);

// Removes from `folder` the scratch files of this user whose owning process
// no longer exists. Files of other users and of live processes stay.
void RemoveDeadScratchFiles(const std::string& folder);

} // namespace textio
