#include "textio/SafeFile.h"
#include "textio/ScratchFiles.h"

#include "NamedRows.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <ctime>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class SafeFileTest : public ::testing::Test {
protected:
    ScratchFolder m_folder;
    const std::string m_dir = m_folder.Path();
};

TEST_F(SafeFileTest, ReplacesTheTargetOnlyOnCommit)
{
    const std::string target = m_dir + "/out.xyz";
    WriteFile(target, "old");
    textio::SafeFileWriter writer(target);
    ASSERT_EQ(writer.Open(), textio::SafeFileWriter::Status::Ok);
    writer.Write("new text\r\n");
    EXPECT_EQ(ReadFile(target), "old") << "the earlier file stays until the commit";
    ASSERT_EQ(writer.Commit(), textio::SafeFileWriter::Status::Ok);
    EXPECT_EQ(ReadFile(target), "new text\r\n");
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"out.xyz"}) << "no temporary file is left behind";
}

TEST_F(SafeFileTest, AbandonedWriteLeavesNothing)
{
    const std::string target = m_dir + "/out.xyz";
    WriteFile(target, "old");
    {
        textio::SafeFileWriter writer(target);
        ASSERT_EQ(writer.Open(), textio::SafeFileWriter::Status::Ok);
        writer.Write(std::string(200000, 'x'));
    }
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_TRUE(m_folder.ScratchFiles().empty());
}

// Anything but a plain file is refused, never replaced by one: a FIFO or a
// device keeps its reader or its node.
TEST_F(SafeFileTest, TargetThatIsNoPlainFileFailsToOpen)
{
    ASSERT_EQ(mkfifo((m_dir + "/fifo.xyz").c_str(), 0644), 0);
    for (const std::string& target : {m_dir + "/no/such/folder/out.xyz", m_dir, m_dir + "/fifo.xyz",
                                      std::string("/dev/null")}) {
        textio::SafeFileWriter writer(target);
        EXPECT_EQ(writer.Open(), textio::SafeFileWriter::Status::OpenFailed) << target;
        EXPECT_EQ(writer.Commit(), textio::SafeFileWriter::Status::OpenFailed) << target;
    }
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string>{"fifo.xyz"});
}

// A disk that fills up in the middle of the write: the file-size limit makes
// every write past it fail, even for root.
TEST_F(SafeFileTest, WriteErrorKeepsTheEarlierFile)
{
    const std::string target = m_dir + "/out.xyz";
    WriteFile(target, "old");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    textio::SafeFileWriter writer(target);
    ASSERT_EQ(writer.Open(), textio::SafeFileWriter::Status::Ok);
    for (int i = 0; i < 100; ++i)
        writer.Write(std::string(1000, 'x'));
    const auto status = writer.Commit();

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(status, textio::SafeFileWriter::Status::WriteFailed);
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_TRUE(m_folder.ScratchFiles().empty());
}

TEST_F(SafeFileTest, SymbolicLinkTargetReplacesTheFileItNames)
{
    const std::string real = m_dir + "/real.xyz";
    const std::string link = m_dir + "/link.xyz";
    WriteFile(real, "old");
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    textio::SafeFileWriter writer(link);
    ASSERT_EQ(writer.Open(), textio::SafeFileWriter::Status::Ok);
    writer.Write("new");
    ASSERT_EQ(writer.Commit(), textio::SafeFileWriter::Status::Ok);
    struct stat info {};
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadFile(real), "new");
}

struct ModeCase {
    const char* name;
    std::optional<mode_t> earlier; // the replaced file's mode; none for a new file
    mode_t umask;
    mode_t expected;
};

class FileMode : public ::testing::TestWithParam<ModeCase> {};

// A new file gets the mode of any new file; a replaced one keeps only the
// permission bits of the earlier file: a setuid, setgid or sticky bit on it
// must not land on a file that someone else's export wrote.
TEST_P(FileMode, IsTheUmasksOrTheEarlierFilesPermissions)
{
    const ModeCase& c = GetParam();
    ScratchFolder folder;
    const std::string target = folder / "out.xyz";
    if (c.earlier) {
        WriteFile(target, "old");
        ASSERT_EQ(chmod(target.c_str(), *c.earlier), 0);
    }
    const mode_t savedUmask = umask(c.umask);
    textio::SafeFileWriter writer(target);
    const auto opened = writer.Open();
    writer.Write("new");
    const auto committed = writer.Commit();
    umask(savedUmask);
    ASSERT_EQ(opened, textio::SafeFileWriter::Status::Ok);
    ASSERT_EQ(committed, textio::SafeFileWriter::Status::Ok);
    struct stat after {};
    ASSERT_EQ(stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, c.expected);
}

INSTANTIATE_TEST_SUITE_P(SafeFile, FileMode,
                         ::testing::Values(ModeCase{"NewFile", std::nullopt, 022, 0644},
                                           ModeCase{"NewFileUnderAGroupUmask", std::nullopt, 027, 0640},
                                           ModeCase{"NewFileUnderNoUmask", std::nullopt, 0, 0666},
                                           ModeCase{"ReadOnlyForOthers", 0640, 022, 0640},
                                           ModeCase{"PrivateUnderNoUmask", 0600, 0, 0600},
                                           ModeCase{"ExecutableUnderAGroupUmask", 0775, 027, 0775},
                                           ModeCase{"Setuid", 04755, 022, 0755}, ModeCase{"Setgid", 02775, 022, 0775},
                                           ModeCase{"Sticky", 01666, 022, 0666}),
                         RowName());

// A child that opens a write over "old" and is then ended before its commit.
struct EndingCase {
    const char* name;
    int signal;        // what ends the child
    bool sentByParent; // false: the child throws an exception nothing catches
};

class EndedWrite : public ::testing::TestWithParam<EndingCase> {};

[[noreturn]] void ThrowThroughNoexcept() noexcept
{
    std::rethrow_exception(std::make_exception_ptr(std::runtime_error("not caught")));
}

TEST_P(EndedWrite, LeavesNoScratchFile)
{
    const EndingCase& c = GetParam();
    ScratchFolder folder;
    const std::string target = folder.Path() + "/out.xyz";
    WriteFile(target, "old");
    int ready[2], go[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(go), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(c.signal, SIG_DFL);
        const rlimit noCore{0, 0}; // SIGQUIT and SIGABRT would dump one
        setrlimit(RLIMIT_CORE, &noCore);
        textio::SafeFileWriter writer(target);
        if (writer.Open() != textio::SafeFileWriter::Status::Ok)
            _exit(3);
        writer.Write(std::string(100000, 'x'));
        const char byte = 1;
        if (write(ready[1], &byte, 1) != 1)
            _exit(4);
        char goAhead = 0;
        if (read(go[0], &goAhead, 1) == 1 && !c.sentByParent)
            ThrowThroughNoexcept();
        for (;;)
            pause();
    }
    close(ready[1]);
    close(go[0]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the child opened its write";
    close(ready[0]);
    EXPECT_EQ(folder.ScratchFiles().size(), 1u);
    if (c.sentByParent)
        kill(child, c.signal);
    else
        EXPECT_EQ(write(go[1], &byte, 1), 1);
    close(go[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), c.signal);
    EXPECT_TRUE(folder.ScratchFiles().empty());
    EXPECT_EQ(ReadFile(target), "old");
}

INSTANTIATE_TEST_SUITE_P(SafeFile, EndedWrite,
                         ::testing::Values(EndingCase{"Interrupt", SIGINT, true}, EndingCase{"Terminate", SIGTERM, true},
                                           EndingCase{"HangUp", SIGHUP, true}, EndingCase{"Quit", SIGQUIT, true},
                                           EndingCase{"FileSizeLimit", SIGXFSZ, true},
                                           EndingCase{"UncaughtException", SIGABRT, false}),
                         RowName());

// A process id that no process has: a child's after it was reaped.
pid_t DeadProcessId()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

struct LeftoverCase {
    const char* name;
    bool removed;
};

class Leftover : public ::testing::TestWithParam<LeftoverCase> {};

// What a killed writer leaves is removed by the next write into the folder,
// and nothing else is: above all not the file of a live writer whose name
// carries a process id that is dead here (another PID namespace's writer).
TEST_P(Leftover, OnlyUnlockedOldFilesOfThisUserAreRemoved)
{
    const std::string how = GetParam().name;
    ScratchFolder folder;
    std::string name = textio::ScratchFileName(DeadProcessId(), 12345);
    if (how == "ShortSuffix")
        name.pop_back();
    else if (how == "NoProcessId")
        name = ".kestrix-a1B2c3";
    const std::string path = folder / name;
    if (how == "SymbolicLink") {
        WriteFile(folder / "kept", "kept");
        ASSERT_EQ(symlink((folder / "kept").c_str(), path.c_str()), 0);
    } else {
        WriteFile(path, "left by a writer");
    }
    if (how == "OtherUser") {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to give a file away";
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    }
    // Untouched for two minutes, but for the fresh one.
    const timespec twoMinutesAgo{time(nullptr) - 120, 0};
    const timespec times[2] = {twoMinutesAgo, twoMinutesAgo};
    if (how != "Fresh") {
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    const int writersLock = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (how == "LockedByALiveWriter") {
        ASSERT_EQ(flock(writersLock, LOCK_EX | LOCK_NB), 0);
    }

    textio::SafeFileWriter writer(folder / "out.xyz");
    ASSERT_EQ(writer.Open(), textio::SafeFileWriter::Status::Ok);
    const std::vector<std::string> left = folder.Entries();
    EXPECT_EQ(std::find(left.begin(), left.end(), name) == left.end(), GetParam().removed);
    if (writersLock >= 0)
        close(writersLock);
}

INSTANTIATE_TEST_SUITE_P(SafeFile, Leftover,
                         ::testing::Values(LeftoverCase{"Abandoned", true}, LeftoverCase{"LockedByALiveWriter", false},
                                           LeftoverCase{"Fresh", false}, LeftoverCase{"OtherUser", false},
                                           LeftoverCase{"SymbolicLink", false}, LeftoverCase{"ShortSuffix", false},
                                           LeftoverCase{"NoProcessId", false}),
                         RowName());

// A writer holds its scratch file's lock until the rename, so no sweep in
// another process takes the file away.
TEST_F(SafeFileTest, WriterHoldsItsScratchFileLockedUntilTheCommit)
{
    textio::SafeFileWriter writer(m_dir + "/out.xyz");
    ASSERT_EQ(writer.Open(), textio::SafeFileWriter::Status::Ok);
    ASSERT_EQ(m_folder.ScratchFiles().size(), 1u);
    const int other = open((m_folder / m_folder.ScratchFiles()[0]).c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0) << "locked while it is written";
    EXPECT_EQ(writer.Commit(), textio::SafeFileWriter::Status::Ok);
    EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0) << "released after the rename";
    close(other);
}

} // namespace
