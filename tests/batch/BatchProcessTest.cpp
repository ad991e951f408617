// kestrix-batch run as its own process: gigabytes of input through a pipe,
// /dev/zero and a sparse file, a signal in the middle of a conversion, and
// writes that fail under a file-size limit or onto a full device.
#include "ChildProgram.h"
#include "NamedRows.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <thread>

namespace {

constexpr long long kGiB = 1LL << 30;
constexpr long kPeakLimitKib = 64 * 1024; // 64 MB

const std::string kCollar = "Collar coordinates:\r\nEasting 1\r\nNorthing 2\r\nHeight 3\r\nDeclination 4\r\n";
const std::string kHeader = "DEPTH MagX MagY MagZ AccX AccY AccZ\r\n";

pid_t StartBatch(const std::vector<std::string>& args, const std::string& errorsPath)
{
    return StartProgram(KESTRIX_BATCH_EXE, args, errorsPath);
}

int RowsOf(const std::string& xyz)
{
    int lines = 0;
    for (std::size_t at = 0; (at = xyz.find("\r\n", at)) != std::string::npos; at += 2)
        ++lines;
    return lines - 2;
}

enum class Feed { Fifo, SparseFile, DevZero };

struct HugeInputCase {
    const char* name;
    Feed feed;
    std::string head;
    char filler;
    long long fillerBytes;
    std::string tail;
    int exitStatus;
    const char* errors;
    int rows; // in the XYZ file written, when it was
};

class HugeInput : public ::testing::TestWithParam<HugeInputCase> {};

TEST_P(HugeInput, StaysWithinBoundedMemory)
{
    const HugeInputCase& c = GetParam();
    // In memory where the machine has it: a hole there reads many times faster.
    ScratchFolder folder(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    const std::string dir = folder.Path();
    std::string input = dir + "/survey.txt";
    pid_t feeder = -1;
    if (c.feed == Feed::Fifo) {
        ASSERT_EQ(mkfifo(input.c_str(), 0600), 0);
        feeder = StartFeeding(input, {{c.head}, {std::string(1, c.filler), c.fillerBytes}, {c.tail}});
    } else if (c.feed == Feed::SparseFile) {
        WriteFile(input, c.head);
        ASSERT_EQ(truncate(input.c_str(), static_cast<off_t>(c.head.size() + c.fillerBytes)), 0);
        const int fd = open(input.c_str(), O_WRONLY | O_APPEND);
        ASSERT_EQ(write(fd, c.tail.data(), c.tail.size()), static_cast<ssize_t>(c.tail.size()));
        close(fd);
    } else {
        input = "/dev/zero";
    }

    const Finished run = Wait(StartBatch({"export", input, "-o", dir + "/out.xyz"}, dir + "/errors"));
    if (feeder > 0)
        Wait(feeder);
    ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << WTERMSIG(run.status);
    EXPECT_EQ(WEXITSTATUS(run.status), c.exitStatus);
    // The first line; a load's failure goes on to name the file, line and reason.
    const std::string errors = ReadFile(dir + "/errors");
    EXPECT_EQ(errors.substr(0, errors.find('\n') + 1), c.errors);
    if (c.exitStatus == 0)
        EXPECT_EQ(RowsOf(ReadFile(dir + "/out.xyz")), c.rows);
    else
        EXPECT_EQ(access((dir + "/out.xyz").c_str(), F_OK), -1) << "nothing written";
    // The peak also counts what the child copied of this test process at the
    // fork, so it can only err high; under the sanitizers that copy alone is
    // over the bound.
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the peak would be the sanitized test process's own";
#else
    EXPECT_LT(run.peakKib, kPeakLimitKib);
#endif
}

INSTANTIATE_TEST_SUITE_P(
    BatchProcess, HugeInput,
    ::testing::Values(
        HugeInputCase{"RowWhoseEighthTokenRunsOverTwoGigabytes", Feed::Fifo, kCollar + kHeader + "1 2 3 4 5 6 7 ",
                      '8', 2 * kGiB + 12345, "\r\n2 2 3 4 5 6 7\r\n", 1, "Invalid file format\n", 0},
        HugeInputCase{"HeaderWhoseNamesFollowAGigabyteOfBlanks", Feed::Fifo, kCollar + "DEPTH MagX", ' ', kGiB,
                      "MagY MagZ AccX AccY AccZ\r\n1 2 3 4 5 6 7\r\n\r\n", 0, "", 1},
        HugeInputCase{"NumberOfTwoGigabytes", Feed::Fifo, kCollar + kHeader + "1 2 3 4 5 6 7\r\n", '1', 2 * kGiB,
                      "", 1, "Invalid file format\n", 0},
        HugeInputCase{"LineWithoutEndOfTwoGigabytes", Feed::Fifo, "", 'C', 2 * kGiB, "", 1, "Invalid file format\n",
                      0},
        HugeInputCase{"RowWithAThreeGigabyteHole", Feed::SparseFile, kCollar + kHeader + "1 2 3 4 5 6 7 ", '\0',
                      3 * kGiB, "\r\n2 2 3 4 5 6 7\r\n", 1, "Invalid file format\n", 0},
        HugeInputCase{"DevZero", Feed::DevZero, "", '\0', 0, "", 1, "Invalid file format\n", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A conversion that waits for more of its LAS file from a FIFO is ended by
// SIGTERM: its scratch file goes with it.
TEST(BatchProcess, TerminatedConversionLeavesNoScratchFile)
{
    ScratchFolder folder;
    const std::string dir = folder.Path(), las = dir + "/feed.las";
    ASSERT_EQ(mkfifo(las.c_str(), 0600), 0);
    const pid_t child = StartBatch({"convert", las, "-o", dir + "/out.txt"}, dir + "/errors");

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    int writer = -1;
    while (writer < 0 && Clock::now() < deadline) {
        writer = open(las.c_str(), O_WRONLY | O_NONBLOCK); // fails until the converter opens its end
        if (writer < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GE(writer, 0) << "the converter never opened the FIFO";
    const std::string start = "~Curve Information\n DEPT.M : DEPTH\n MAGX.G : MagX\n~A\n1.0 0.25\n2.0 0.5\n";
    ASSERT_EQ(write(writer, start.data(), start.size()), static_cast<ssize_t>(start.size()));
    while (folder.ScratchFiles().empty() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(folder.ScratchFiles().size(), 1u) << "the conversion is writing";

    kill(child, SIGTERM);
    const Finished run = Wait(child);
    close(writer);
    ASSERT_TRUE(WIFSIGNALED(run.status));
    EXPECT_EQ(WTERMSIG(run.status), SIGTERM);
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"errors", "feed.las"}));
}

constexpr const char* kOutputLost = "kestrix-batch: failed to write the standard output";

struct WriteFaultRow {
    const char* name;
    bool underSizeLimit; // run by a shell after `ulimit -f 1`
    const char* output;  // kestrix-batch's standard output
    std::string command; // export or convert, of the demo survey or LAS file
    bool fileWritten;
    const char* error;
};

class WriteFault : public ::testing::TestWithParam<WriteFaultRow> {};

// A write that fails, whether of the file or of the path printed after it,
// is exit status 1 for every command, never a signal's status, and leaves no
// scratch file.
TEST_P(WriteFault, IsExitStatusOne)
{
    const WriteFaultRow& row = GetParam();
    ScratchFolder folder;
    const bool isExport = row.command == "export";
    const std::string input = KESTRIX_EXAMPLES_DIR + std::string(isExport ? "/demo.txt" : "/demo.las");
    const std::string written = folder / (isExport ? "out.xyz" : "out.txt");
    std::vector<std::string> args{row.command, input, "-o", written};
    const char* program = KESTRIX_BATCH_EXE;
    if (row.underSizeLimit) {
        args.insert(args.begin(), {"-c", "ulimit -f 1 && exec \"$0\" \"$@\"", KESTRIX_BATCH_EXE});
        program = "/bin/sh";
    }
    const Finished run = Wait(StartProgram(program, args, folder / "errors", row.output));
    ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << WTERMSIG(run.status);
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_NE(ReadFile(folder / "errors").find(row.error), std::string::npos) << ReadFile(folder / "errors");
    EXPECT_EQ(access(written.c_str(), F_OK) == 0, row.fileWritten);
    EXPECT_TRUE(folder.ScratchFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    BatchProcess, WriteFault,
    ::testing::Values(
        WriteFaultRow{"ExportUnderAFileSizeLimit", true, "/dev/null", "export", false, "Failed to write"},
        WriteFaultRow{"ConversionUnderAFileSizeLimit", true, "/dev/null", "convert", false, "Failed to write"},
        WriteFaultRow{"ExportPrintingOntoAFullDevice", false, "/dev/full", "export", true, kOutputLost},
        WriteFaultRow{"ConversionPrintingOntoAFullDevice", false, "/dev/full", "convert", true, kOutputLost}),
    RowName());

} // namespace
