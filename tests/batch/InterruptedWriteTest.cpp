// A program killed in the middle of writing an XYZ export or a raw survey file
// leaves the earlier file of that name as it was, and no scratch file.
#include "batch/BatchOptions.h"
#include "batch/ConvertCommand.h"
#include "batch/SurveyCommands.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs `work` in a child process whose files may not grow past 64 KiB: the
// write that crosses the limit kills it with SIGXFSZ, mid-file.
int RunKilledMidWrite(const std::function<int()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{65536, 65536};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::_Exit(work());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

class InterruptedWrite : public ::testing::Test {
protected:
    ScratchFolder m_folder;
    const std::string m_dir = m_folder.Path();
};

TEST_F(InterruptedWrite, ExportKeepsTheEarlierFile)
{
    const std::string survey = m_dir + "/hole.txt", xyz = m_dir + "/hole.xyz";
    std::string text = "Collar coordinates:\r\nEasting 0\r\nNorthing 0\r\nHeight 0\r\nDeclination 0\r\n"
                       "DEPTH MagX MagY MagZ AccX AccY AccZ\r\n";
    for (int i = 0; i < 5000; ++i)
        text += std::to_string(i * 0.1) + " 0.2 0.1 0.4 0.1 1 0.3\r\n";
    std::ofstream(survey, std::ios::binary) << text;
    std::ofstream(xyz, std::ios::binary) << "earlier export";

    const int status = RunKilledMidWrite([&] {
        SurveyOptions options;
        std::string error;
        ParseSurveyOptions({"export", survey}, options, error);
        std::ostringstream out, err;
        return RunSurveyCommand(options, out, err);
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the child died mid-write";
    EXPECT_EQ(ReadFile(xyz), "earlier export");
    EXPECT_TRUE(m_folder.ScratchFiles().empty());
}

TEST_F(InterruptedWrite, ConversionKeepsTheEarlierFile)
{
    const std::string las = m_dir + "/hole.las", raw = m_dir + "/hole.txt";
    std::string text = "~Curve Information\n DEPT.M : DEPTH\n MAGX.G : MagX\n~A\n";
    for (int i = 0; i < 20000; ++i)
        text += std::to_string(i * 0.1) + " 0.25\n";
    std::ofstream(las, std::ios::binary) << text;
    std::ofstream(raw, std::ios::binary) << "earlier survey";

    const int status = RunKilledMidWrite([&] {
        std::ostringstream out, err;
        return RunConvertCommand({las}, out, err);
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the child died mid-write";
    EXPECT_EQ(ReadFile(raw), "earlier survey");
    EXPECT_EQ(ReadFile(las), text) << "the LAS file is never harmed";
    EXPECT_TRUE(m_folder.ScratchFiles().empty());
}

} // namespace
