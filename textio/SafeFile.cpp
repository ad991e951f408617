#include "textio/SafeFile.h"

#include "textio/ScratchFiles.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace textio {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;

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
    // A target that exists but cannot be written to is refused, as opening it
    // for writing would be.
    if (access(m_targetPath.c_str(), F_OK) == 0 && access(m_targetPath.c_str(), W_OK) != 0)
        return Status::OpenFailed;
    struct stat info {};
    const bool exists = stat(m_targetPath.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        return Status::OpenFailed;
    m_finalPath = m_targetPath;
    if (exists) {
        if (char* real = realpath(m_targetPath.c_str(), nullptr)) {
            m_finalPath = real;
            std::free(real);
        }
    }

    const std::string folder = FolderOf(m_finalPath);
    RemoveDeadScratchFiles(folder);
    std::string scratch;
    const int fd = CreateScratchFile(folder, scratch);
    if (fd < 0)
        return Status::OpenFailed;
    // The scratch file is created readable by its owner only; give it the
    // permission bits of the file it replaces (never setuid, setgid or
    // sticky), or those an ordinary new file would get.
    if (exists) {
        fchmod(fd, info.st_mode & 0777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    m_file = fdopen(fd, "wb");
    if (!m_file) {
        close(fd);
        unlink(scratch.c_str());
        ForgetScratchFile(scratch);
        return Status::OpenFailed;
    }
    m_tempPath = std::move(scratch);
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
    m_buffer.clear();
}

SafeFileWriter::Status SafeFileWriter::Commit()
{
    if (!m_file)
        return Status::OpenFailed;
    Flush();
    if (std::fflush(m_file) != 0 || fsync(fileno(m_file)) != 0)
        m_failed = true;
    const bool closeFailed = std::fclose(m_file) != 0;
    m_file = nullptr;
    if (m_failed || closeFailed || std::rename(m_tempPath.c_str(), m_finalPath.c_str()) != 0) {
        Discard();
        return Status::WriteFailed;
    }
    ForgetScratchFile(m_tempPath);
    m_tempPath.clear();
    return Status::Ok;
}

void SafeFileWriter::Discard()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_tempPath.empty()) {
        unlink(m_tempPath.c_str());
        ForgetScratchFile(m_tempPath);
        m_tempPath.clear();
    }
}

} // namespace textio
