// kestrix-batch hands plot to kestrix-batch-plot in its own folder; a
// kestrix-batch without it beside says so instead.
#include "ChildProgram.h"
#include "NamedRows.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

struct AloneRow {
    const char* name;
    std::vector<std::string> args; // "OUT" is the picture in the scratch folder
    int status;
    const char* error;
};

class BatchWithoutPlotProgram : public ::testing::TestWithParam<AloneRow> {};

TEST_P(BatchWithoutPlotProgram, SaysWhyAndWritesNothing)
{
    const AloneRow& row = GetParam();
    ScratchFolder folder;
    const std::string alone = folder / "kestrix-batch";
    std::filesystem::copy_file(KESTRIX_BATCH_EXE, alone);
    std::vector<std::string> args{"plot", KESTRIX_EXAMPLES_DIR "/demo.txt"};
    for (const std::string& arg : row.args)
        args.push_back(arg == "OUT" ? folder / "out.png" : arg);
    const Finished finished = Wait(StartProgram(alone.c_str(), args, folder / "errors"));
    ASSERT_TRUE(WIFEXITED(finished.status));
    EXPECT_EQ(WEXITSTATUS(finished.status), row.status);
    EXPECT_NE(ReadFile(folder / "errors").find(row.error), std::string::npos) << ReadFile(folder / "errors");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"errors", "kestrix-batch"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BatchWithoutPlotProgram,
    ::testing::Values(AloneRow{"WellFormed", {"--view", "az", "-o", "OUT"}, 1,
                               "kestrix-batch plot is not available: "},
                      // Bad usage is kestrix-batch's own answer, with or without the plot program.
                      AloneRow{"BadUsage", {"--view", "az", "-o", "OUT", "--size", "640x"}, 2, "--size takes"}),
    RowName());

} // namespace
