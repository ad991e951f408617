#include "SafeFile.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SafeFileTest : public ::testing::Test {
protected:
    int EntriesInDir()
    {
        int count = 0;
        DIR* dir = opendir(m_dir.c_str());
        while (dirent* entry = readdir(dir))
            count += entry->d_name[0] != '.' || std::string(entry->d_name).rfind(".kestrix-", 0) == 0;
        closedir(dir);
        return count;
    }

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
    EXPECT_EQ(EntriesInDir(), 1) << "no temporary file is left behind";
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
    EXPECT_EQ(EntriesInDir(), 1);
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
    EXPECT_EQ(EntriesInDir(), 1);
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

} // namespace
