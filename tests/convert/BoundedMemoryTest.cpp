// kestrix-batch convert reading gigabytes from a FIFO that this test fills:
// its peak memory stays small whatever the lines hold, and text past the
// limits ends it cleanly, with nothing written.
#include "ChildProgram.h"
#include "ConvertTestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

constexpr long long kGiB = 1LL << 30;
constexpr long kMostKilobytes = 64'000'000 / 1024; // 64 MB

struct ChildEnd {
    int exitStatus = -1;
    long peakKilobytes = 0;
    std::string errors;
};

// Runs kestrix-batch convert on a FIFO, feeds it and waits for its end.
ChildEnd ConvertFromFifo(const ScratchFolder& folder, const std::vector<Stretch>& stretches)
{
    const std::string fifo = folder / "in.las";
    ChildEnd end;
    if (mkfifo(fifo.c_str(), 0600) != 0)
        return end;
    const pid_t converter = StartProgram(KESTRIX_BATCH, {"convert", fifo, "-o", folder / "out.txt"}, folder / "errors");
    const pid_t feeder = StartFeeding(fifo, stretches);
    const Finished run = Wait(converter);
    Wait(feeder);
    if (WIFEXITED(run.status))
        end.exitStatus = WEXITSTATUS(run.status);
    end.peakKilobytes = run.peakKib;
    end.errors = ReadFile(folder / "errors");
    return end;
}

struct Case {
    const char* name;
    std::vector<Stretch> input;
    int exitStatus;
    std::string errors; // "@" stands for the FIFO's path
    std::string records; // the data lines written, without CR, on success
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class BoundedMemory : public testing::TestWithParam<Case> {};

TEST_P(BoundedMemory, PeakUnder64MegabytesAndACleanEnd)
{
    const Case& c = GetParam();
    ScratchFolder folder;
    const ChildEnd end = ConvertFromFifo(folder, c.input);
    EXPECT_EQ(end.exitStatus, c.exitStatus);
    EXPECT_LT(end.peakKilobytes, kMostKilobytes);
    std::string errors = c.errors;
    if (const auto at = errors.find('@'); at != std::string::npos)
        errors.replace(at, 1, folder / "in.las");
    EXPECT_EQ(end.errors, errors);
    if (c.exitStatus == 0) {
        const std::string raw = WithoutCR(ReadFile(folder / "out.txt"));
        EXPECT_EQ(raw.substr(raw.find('\n', raw.find("Declination")) + 1), c.records);
    } else {
        EXPECT_EQ(folder.Entries().size(), 2u) << "only the FIFO and the error text; no raw survey or scratch file";
    }
}

const std::string kOneCurve = "~C\n D.M : DEPTH\n~A\n";
const std::string kWarning = "kestrix-batch: Warning: the curve names lack MagX, MagY, MagZ, AccX, AccY, AccZ; kestrix will "
                             "not open the file\n";

INSTANTIATE_TEST_SUITE_P(
    ConvertFromAPipe, BoundedMemory,
    testing::Values(
        Case{"GigabyteLineBeforeTheCurves", {{"~V\n"}, {"x ", 3 * kGiB / 2}, {"\n" + kOneCurve + "1.5\n2.5\n"}}, 0,
             kWarning, "     DEPTH\n   1.50000\n   2.50000\n"},
        Case{"GigabyteDataLineAfterItsRecord", {{kOneCurve + "1 "}, {"2 ", kGiB}, {"\n3\n"}}, 0, kWarning,
             "     DEPTH\n   1.00000\n   3.00000\n"},
        Case{"GigabyteValue", {{kOneCurve + "7\n"}, {"1", kGiB}}, 1,
             "@:5: a data value longer than 1048576 characters\n", ""},
        Case{"GigabyteCurveName", {{"~C\n D.M :"}, {"n", kGiB}}, 1,
             "@:2: a curve name longer than 1048576 characters\n", ""}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

} // namespace
