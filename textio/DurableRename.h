#pragma once

#include <cstdio>
#include <string>

namespace textio {

// Everything written to `file` reaches the disk: false when the stream's
// buffer or the disk refused it. The file stays open.
bool FlushToDisk(std::FILE* file);

// Starts sending what `file` has handed to the system so far on to the disk,
// without waiting, so that a later FlushToDisk has little left to wait for.
// A hint only: nothing happens where the system offers no such call.
void StartWritingToDisk(std::FILE* file);

// Renames `from` to `to` in one step, replacing a file at `to`: at every
// moment `to` names either its earlier file or the new one.
bool ReplaceFile(const std::string& from, const std::string& to);

} // namespace textio
