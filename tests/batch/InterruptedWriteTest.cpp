// A program killed in the middle of writing an XYZ export or a raw survey file
// leaves the earlier file of that name as it was, and no scratch file.
#include "batch/RunBatch.h"
#include "NamedRows.h"
#include "ScratchFolder.h"
#include "SurveyRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
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

std::string SurveyOf5000Rows()
{
    std::vector<Row> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back({i * 0.1, 0.2, 0.1, 0.4, 0.1, 1, 0.3});
    return RawSurveyText(rows);
}

std::string LasOf20000Records()
{
    std::string text = "~Curve Information\n DEPT.M : DEPTH\n MAGX.G : MagX\n~A\n";
    for (int i = 0; i < 20000; ++i)
        text += std::to_string(i * 0.1) + " 0.25\n";
    return text;
}

struct KilledRow {
    const char* name;
    std::vector<std::string> args; // "@" stands for the input file
    std::string input, inputText, output;
};

class KilledMidWrite : public ::testing::TestWithParam<KilledRow> {};

TEST_P(KilledMidWrite, KeepsTheEarlierFileAndLeavesNoScratchFile)
{
    const KilledRow& row = GetParam();
    ScratchFolder folder;
    WriteFile(folder / row.input, row.inputText);
    WriteFile(folder / row.output, "earlier file");
    std::vector<std::string> args = row.args;
    std::replace(args.begin(), args.end(), std::string("@"), folder / row.input);

    const int status = RunKilledMidWrite([&] {
        std::ostringstream out, err;
        return RunBatch(args, out, err);
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the child died mid-write";
    EXPECT_EQ(ReadFile(folder / row.output), "earlier file");
    EXPECT_EQ(ReadFile(folder / row.input), row.inputText) << "the input is never harmed";
    EXPECT_TRUE(folder.ScratchFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(InterruptedWrite, KilledMidWrite,
                         ::testing::Values(KilledRow{"Export", {"export", "@"}, "hole.txt", SurveyOf5000Rows(), "hole.xyz"},
                                           KilledRow{"Conversion", {"convert", "@"}, "hole.las", LasOf20000Records(),
                                                     "hole.txt"}),
                         RowName());

} // namespace
