#include "textio/SafeFile.h"

#include "textio/DurableRename.h"
#include "textio/FileFacts.h"
#include "textio/ScratchFiles.h"

#include <cstdio>
#include <utility>

namespace textio {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;
// The disk is sent the file in steps of this size while it is written, so
// that the sync before the rename waits for little.
constexpr std::size_t kWriteBackSize = std::size_t(4) << 20;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace

SafeFileWriter::SafeFileWriter(std::string targetPath) : m_targetPath(std::move(targetPath)) {}

SafeFileWriter::~SafeFileWriter() { Discard(); }

SafeFileWriter::Status SafeFileWriter::Open()
{
    Discard();
    m_failed = false;
    m_buffer.clear();
    m_notSentToDisk = 0;
    // A target that exists but cannot be written to is refused, as opening it
    // for writing would be, and so is anything but a plain file.
    const std::optional<FileFacts> earlier = FactsOf(m_targetPath);
    if (earlier && (!MayWrite(m_targetPath) || !earlier->regular))
        return Status::OpenFailed;
    m_finalPath = earlier ? ResolvedPath(m_targetPath) : m_targetPath;

    const std::string folder = FolderOf(m_finalPath);
    RemoveDeadScratchFiles(folder);
    // The new file gets the permission bits of the file it replaces (never
    // setuid, setgid or sticky), or those an ordinary new file would get.
    m_file = CreateScratchFile(folder, earlier ? std::optional(earlier->permissions) : std::nullopt, m_tempPath,
                               m_tempLock);
    if (!m_file)
        return Status::OpenFailed;
    m_buffer.reserve(kFlushSize * 2);
    return Status::Ok;
}

void SafeFileWriter::Write(std::string_view text)
{
    if (!m_file || m_failed)
        return;
    m_buffer.append(text);
    if (m_buffer.size() >= kFlushSize)
        Flush();
}

void SafeFileWriter::Flush()
{
    if (m_buffer.empty() || m_failed)
        return;
    if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size())
        m_failed = true;
    m_notSentToDisk += m_buffer.size();
    m_buffer.clear();
    if (m_notSentToDisk >= kWriteBackSize && !m_failed) {
        StartWritingToDisk(m_file);
        m_notSentToDisk = 0;
    }
}

SafeFileWriter::Status SafeFileWriter::Commit()
{
    if (!m_file)
        return Status::OpenFailed;
    Flush();
    if (!FlushToDisk(m_file))
        m_failed = true;
    const bool closeFailed = std::fclose(m_file) != 0;
    m_file = nullptr;
    if (m_failed || closeFailed || !ReplaceFile(m_tempPath, m_finalPath)) {
        Discard();
        return Status::WriteFailed;
    }
    ForgetScratchFile(m_tempPath);
    m_tempPath.clear();
    m_tempLock.Release();
    return Status::Ok;
}

void SafeFileWriter::Discard()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_tempPath.empty()) {
        std::remove(m_tempPath.c_str());
        ForgetScratchFile(m_tempPath);
        m_tempPath.clear();
    }
    m_tempLock.Release();
}

std::string WriteFailureMessage(SafeFileWriter::Status status, const std::string& shownPath)
{
    switch (status) {
    case SafeFileWriter::Status::Ok: break;
    case SafeFileWriter::Status::OpenFailed: return "Failed to open\n  " + shownPath + "\nfor writing";
    case SafeFileWriter::Status::WriteFailed: return "Failed to write\n  " + shownPath;
    }
    return std::string();
}

} // namespace textio
