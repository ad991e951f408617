#pragma once

#include "textio/ScratchFiles.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace textio {

// Writes a file so that the file it replaces is never lost: the text goes to a
// temporary file in the target's folder, which is renamed over the target only
// after everything was written and closed. Until Commit() succeeds, an earlier
// file of the target's name stays as it was; the temporary file is removed on
// any failure, when the writer is destroyed without a commit and when a signal
// ends the program (ScratchFiles.h). The new file takes the earlier one's
// permission bits, without setuid, setgid or sticky. A target that is a
// symbolic link has the file it points to replaced, not the link.
class SafeFileWriter {
public:
    enum class Status { Ok, OpenFailed, WriteFailed };

    explicit SafeFileWriter(std::string targetPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file, first removing those that dead processes
    // left in the folder. OpenFailed when the folder cannot take it or the
    // target is not a plain file (a folder, FIFO or device is never replaced).
    Status Open();
    // Buffers text; large buffers are flushed as they fill. Errors are kept
    // and reported by Commit().
    void Write(std::string_view text);
    // Flushes, syncs, closes and renames over the target.
    Status Commit();

private:
    void Flush();
    void Discard();

    std::string m_targetPath;
    std::string m_finalPath; // the target with symbolic links resolved
    std::string m_tempPath;
    ScratchLock m_tempLock; // held until the temporary file is renamed or removed
    std::FILE* m_file = nullptr;
    std::string m_buffer;
    std::size_t m_notSentToDisk = 0; // bytes written since the disk was last sent the file
    bool m_failed = false;
};

// What the user is told when writing the file shown as `shownPath` ended in
// `status`: "Failed to open\n  PATH\nfor writing" or "Failed to write\n  PATH";
// empty for Ok.
std::string WriteFailureMessage(SafeFileWriter::Status status, const std::string& shownPath);

} // namespace textio
