#include "textio/SafeFile.h"

#include "NamedRows.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <exception>
#include <stdexcept>
#include <optional>
#include <string>
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

TEST_F(SafeFileTest, MissingFolderOrDirectoryTargetFailsToOpen)
{
    textio::SafeFileWriter missing(m_dir + "/no/such/folder/out.xyz");
    EXPECT_EQ(missing.Open(), textio::SafeFileWriter::Status::OpenFailed);
    EXPECT_EQ(missing.Commit(), textio::SafeFileWriter::Status::OpenFailed);
    textio::SafeFileWriter directory(m_dir);
    EXPECT_EQ(directory.Open(), textio::SafeFileWriter::Status::OpenFailed);
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
                                           EndingCase{"HangUp", SIGHUP, true},
                                           EndingCase{"FileSizeLimit", SIGXFSZ, true},
                                           EndingCase{"UncaughtException", SIGABRT, false}),
                         [](const auto& info) { return std::string(info.param.name); });

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
// and nothing else is.
TEST_P(Leftover, OnlyThoseOfDeadProcessesOfThisUserAreRemoved)
{
    const std::string how = GetParam().name;
    ScratchFolder folder;
    const std::string dir = folder.Path();
    std::string name = ".kestrix-" + std::to_string(DeadProcessId()) + "-a1B2c3";
    if (how == "LiveProcess")
        name = ".kestrix-" + std::to_string(getppid()) + "-a1B2c3";
    else if (how == "ShortSuffix")
        name.pop_back();
    else if (how == "NoProcessId")
        name = ".kestrix-a1B2c3";
    if (how == "SymbolicLink") {
        WriteFile(dir + "/kept", "kept");
        ASSERT_EQ(symlink((dir + "/kept").c_str(), (dir + "/" + name).c_str()), 0);
    } else {
        WriteFile(dir + "/" + name, "left by a killed writer");
    }
    if (how == "OtherUser") {
        if (geteuid() != 0)
            GTEST_SKIP() << "needs root to give a file away";
        ASSERT_EQ(chown((dir + "/" + name).c_str(), 65534, 65534), 0);
    }

    textio::SafeFileWriter writer(dir + "/out.xyz");
    ASSERT_EQ(writer.Open(), textio::SafeFileWriter::Status::Ok);
    const std::vector<std::string> left = folder.Entries();
    EXPECT_EQ(std::find(left.begin(), left.end(), name) == left.end(), GetParam().removed);
}

INSTANTIATE_TEST_SUITE_P(SafeFile, Leftover,
                         ::testing::Values(LeftoverCase{"DeadProcess", true}, LeftoverCase{"LiveProcess", false},
                                           LeftoverCase{"OtherUser", false}, LeftoverCase{"SymbolicLink", false},
                                           LeftoverCase{"ShortSuffix", false}, LeftoverCase{"NoProcessId", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
