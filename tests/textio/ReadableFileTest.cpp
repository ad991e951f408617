#include "NamedRows.h"
#include "ScratchFolder.h"
#include "textio/ReadableFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using textio::OpenFault;
using textio::ReadFrom;

namespace {

struct OpenRow {
    const char* name;
    std::string path; // "@/" stands for a folder holding "file", "fifo" (no writer) and "folder"
    ReadFrom from;
    OpenFault fault;
};

class OpenForReading : public ::testing::TestWithParam<OpenRow> {};

// A FIFO without a writer would block a plain open for good; a test that
// hangs here has found that fault.
TEST_P(OpenForReading, TakesWhatItShouldWithoutWaiting)
{
    ScratchFolder folder;
    std::ofstream(folder / "file") << "text";
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir((folder / "folder").c_str(), 0700), 0);
    std::string path = GetParam().path;
    if (path.rfind("@/", 0) == 0)
        path = folder / path.substr(2);

    OpenFault fault = OpenFault::None;
    std::FILE* file = textio::OpenForReading(path, GetParam().from, fault);
    EXPECT_EQ(fault, GetParam().fault);
    EXPECT_EQ(file != nullptr, GetParam().fault == OpenFault::None);
    if (file)
        std::fclose(file);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OpenForReading,
    ::testing::Values(OpenRow{"RegularFile", "@/file", ReadFrom::RegularFileOnly, OpenFault::None},
                      OpenRow{"FifoWithoutAWriter", "@/fifo", ReadFrom::RegularFileOnly, OpenFault::NotARegularFile},
                      OpenRow{"Device", "/dev/null", ReadFrom::RegularFileOnly, OpenFault::NotARegularFile},
                      OpenRow{"DeviceForAnyFile", "/dev/null", ReadFrom::AnyFile, OpenFault::None},
                      OpenRow{"Folder", "@/folder", ReadFrom::AnyFile, OpenFault::CannotOpen},
                      OpenRow{"Missing", "@/missing", ReadFrom::RegularFileOnly, OpenFault::CannotOpen}),
    RowName());

// What a shell's process substitution hands kestrix-batch: a pipe by name.
TEST(OpenForReading, AnyFileReadsAPipeByName)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], "survey", 6), 6);
    close(ends[1]);
    OpenFault fault = OpenFault::None;
    std::FILE* file = textio::OpenForReading("/dev/fd/" + std::to_string(ends[0]), ReadFrom::AnyFile, fault);
    ASSERT_NE(file, nullptr);
    char text[16] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, file), 6u);
    EXPECT_STREQ(text, "survey");
    std::fclose(file);
    close(ends[0]);
}

} // namespace
