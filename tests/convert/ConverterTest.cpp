#include "ConvertTestFiles.h"
#include "LasConverter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kZeroHead = "Collar coordinates:\r\n"
                              "Easting        0.00\r\n"
                              "Northing       0.00\r\n"
                              "Height         0.00\r\n"
                              "Declination    0.00\r\n";

// Converts `las` with `collar` and gives the raw survey file's text.
std::string Convert(const std::string& las, const Collar& collar = {})
{
    ScratchFolder folder;
    WriteBytes(folder / "in.las", las);
    const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", collar);
    EXPECT_TRUE(result.Ok()) << result.message;
    return ReadBytes(folder / "out.txt");
}

// What follows the collar block, with LF line ends.
std::string Body(const std::string& las)
{
    const std::string raw = Convert(las);
    EXPECT_EQ(raw.substr(0, kZeroHead.size()), kZeroHead);
    return WithoutCR(raw.substr(std::min(raw.size(), kZeroHead.size())));
}

struct ScanCase {
    const char* name;
    std::string las;
    std::string body;
};

TEST(Converter, ScansCurveListAndData)
{
    const std::string two = "~VERSION INFORMATION\n VERS. 2.0 : v\n~CURVE INFORMATION\n D.M : DEPTH\n X.G : MagX\n";
    const std::string three = "~CURVE INFORMATION\nD:a\nX:b\nY:c\n~A\n";
    const std::vector<ScanCase> cases = {
        {"curve list followed directly by ~A", two + "~A DEPTH MAGX\n1 2\n3 4\n",
         "     DEPTH       MagX\n   1.00000    2.00000\n   3.00000    4.00000\n"},
        {"names keep their blanks; a long name is written whole",
         "~CURVE INFORMATION\nMAGX.NT     : MagX\nA.B:TwelveChars\nC.D:x\n~A\n1 2 3\n",
         "      MagX TwelveChars          x\n   1.00000    2.00000    3.00000\n"},
        {"comment and blank lines inside the curve list",
         "~CURVE INFORMATION\n#MNEM.UNIT  DESCRIPTION\n#---- ----\n D.M : DEPTH\n\n \t \n  # note\n X.G : MagX\n~A\n1 2\n",
         "     DEPTH       MagX\n   1.00000    2.00000\n"},
        {"~Curve Information section", "~Curve Information\n D.M : DEPTH\n~ASCII\n5\n", "     DEPTH\n   5.00000\n"},
        {"lower-case ~c section, indented", "  ~c\n D.M : DEPTH\n~A DEPTH\n5\n", "     DEPTH\n   5.00000\n"},
        {"CURVE INFORMATION anywhere in a line", "note: CURVE INFORMATION below\nD:DEPTH\n~A\n7\n",
         "     DEPTH\n   7.00000\n"},
        {"comment lines in the data", two + "~A\n# first\n1 2\n   #9 9\n3 4\n",
         "     DEPTH       MagX\n   1.00000    2.00000\n   3.00000    4.00000\n"},
        {"record wrapped over lines", three + "910.0\n1 2\n",
         "         a          b          c\n 910.00000    1.00000    2.00000\n"},
        {"tokens after the completing one are dropped", three + "1\n2 3 4 5\n6 7 8 9\n",
         "         a          b          c\n   1.00000    2.00000    3.00000\n   6.00000    7.00000    8.00000\n"},
        {"blank data lines change nothing", three + "1\n\n \t\n2\n3\n",
         "         a          b          c\n   1.00000    2.00000    3.00000\n"},
        {"number formats", three + "12345.6 -999.25 0\n",
         "         a          b          c\n12345.60000 -999.25000    0.00000\n"},
        {"tokens that are not numbers give their leading number or zero",
         "~C\nA:a\nB:b\nC:c\nD:d\nE:e\nF:f\nG:g\nH:h\n~A\nabc 12.5abc 1e3x -.5 +7 nan 0x1A 1e\n",
         "         a          b          c          d          e          f          g          h\n"
         "   0.00000   12.50000 1000.00000   -0.50000    7.00000    0.00000    0.00000    1.00000\n"},
        {"incomplete last record is dropped", three + "1 2 3\n4 5\n", "         a          b          c\n   1.00000    2.00000    3.00000\n"},
        {"no curve section: collar block only", "~A\n1 2\n", ""},
        {"no data marker: names line only", "~CURVE INFORMATION\nD:DEPTH\n~Other\n1 2\n", "     DEPTH\n"},
        {"last curve line without a line end keeps its whole name", "~CURVE INFORMATION\n DEPT.M : DEPTH",
         "     DEPTH\n"},
        {"curve line without a colon has an empty name", "~C\nDEPT.M\nX:MagX\n~A\n1 2\n",
         "                 MagX\n   1.00000    2.00000\n"},
        {"a second curve section is passed over", "~C\nD:DEPTH\n~Other\n~CURVE INFORMATION\nX:x\n~A\n1\n",
         "     DEPTH\n   1.00000\n"},
        {"a curve list without curves writes nothing more", "~C\n~A\n1 2\n", ""},
        {"CR LF and lone CR end lines", "~C\r\nD:DEPTH\r\nX:MagX\r~A\r\n1 2\r3\r\n4\n",
         "     DEPTH       MagX\n   1.00000    2.00000\n   3.00000    4.00000\n"},
        {"data state takes every line, section lines included", two + "~A\n1 2\n~Other 5\n",
         "     DEPTH       MagX\n   1.00000    2.00000\n   0.00000    5.00000\n"},
    };
    for (const ScanCase& c : cases)
        EXPECT_EQ(Body(c.las), c.body) << c.name;
}

TEST(Converter, LinesOfAnyLengthStayWhole)
{
    // 60 curves: every data line is far longer than 255 characters, and a
    // long name is not cut either.
    std::string las = "~CURVE INFORMATION\n";
    std::string names, values, expected;
    for (int i = 0; i < 60; ++i) {
        las += "C" + std::to_string(i) + ".U : " + std::string(i == 59 ? 300 : 0, 'n') + "c" + std::to_string(i) + "\n";
        values += "123456.789012 ";
        expected += std::string(i ? " " : "") + "123456.78901";
    }
    las += "~A\n" + values + "\n" + values + "\n";
    ScratchFolder folder;
    WriteBytes(folder / "in.las", las);
    const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", {});
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.curveCount, 60);
    EXPECT_EQ(result.recordCount, 2);
    const std::string body = WithoutCR(ReadBytes(folder / "out.txt"));
    EXPECT_NE(body.find(std::string(300, 'n') + "c59\n"), std::string::npos);
    EXPECT_NE(body.find("\n" + expected + "\n" + expected + "\n"), std::string::npos);
}

TEST(Converter, ReportsCountsAndDroppedRecord)
{
    ScratchFolder folder;
    WriteBytes(folder / "in.las", "~C\nD:a\nX:b\n~A\n1 2\n3 4\n5\n");
    const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", {});
    EXPECT_EQ(result.curveCount, 2);
    EXPECT_EQ(result.recordCount, 2);
    EXPECT_TRUE(result.droppedPartialRecord);
}

struct CollarCase {
    Collar collar;
    const char* head;
};

TEST(Converter, CollarBlock)
{
    EXPECT_EQ(Convert(""), kZeroHead) << "a cancelled collar dialog";
    const std::vector<CollarCase> cases = {
        {{500000.25, 7000000, 350.4, 12.5},
         "Easting   500000.25\r\nNorthing 7000000.00\r\nHeight       350.40\r\nDeclination   12.50\r\n"},
        // Numbers that fill their field are parted from the label by one blank.
        {{12345678.9, 10000000, 1e10, 12345.67},
         "Easting 12345678.90\r\nNorthing 10000000.00\r\nHeight  10000000000.00\r\nDeclination 12345.67\r\n"},
        {{-1000000, -1000000, -5, -1234.5},
         "Easting -1000000.00\r\nNorthing -1000000.00\r\nHeight        -5.00\r\nDeclination -1234.50\r\n"},
        {{0, 9999999.99, 0, -999.99},
         "Easting        0.00\r\nNorthing 9999999.99\r\nHeight         0.00\r\nDeclination -999.99\r\n"},
    };
    for (const CollarCase& c : cases)
        EXPECT_EQ(Convert("", c.collar), std::string("Collar coordinates:\r\n") + c.head);
}

TEST(Converter, RawSurveyPathReplacesLastThreeCharacters)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/data/hole1.las", "/data/hole1.txt"}, {"/data/hole1.LAS", "/data/hole1.txt"},
        {"/data/hole1.dat", "/data/hole1.txt"}, {"/data/hole1.ls", "/data/hole1txt"},
        {"ab", "txt"},                           {"", "txt"},
    };
    for (const auto& [las, raw] : cases)
        EXPECT_EQ(RawSurveyPathFor(las), raw) << las;
}

TEST(Converter, MissingOrUnreadableLasFileWritesNothing)
{
    ScratchFolder folder;
    WriteBytes(folder / "out.txt", "earlier file");
    std::filesystem::create_directory(folder / "folder.las");
    for (const std::string& las : {folder / "missing.las", folder / "folder.las"}) {
        const ConvertResult result = ConvertLasFile(las, folder / "out.txt", {});
        EXPECT_EQ(result.status, ConvertResult::Status::OpenLasFailed);
        EXPECT_EQ(result.message, "Failed to open\n  " + las);
        EXPECT_EQ(ReadBytes(folder / "out.txt"), "earlier file");
    }
    EXPECT_EQ(folder.FileCount(), 2u);
}

TEST(Converter, NeverWritesOverTheLasFile)
{
    ScratchFolder folder;
    const std::string las = "~C\nD:DEPTH\n~A\n1\n";
    const std::string path = folder / "hole.txt"; // its raw survey name is itself
    WriteBytes(path, las);
    ASSERT_EQ(symlink(path.c_str(), (folder / "link.txt").c_str()), 0);
    ASSERT_EQ(link(path.c_str(), (folder / "hard.txt").c_str()), 0);
    for (const std::string& out : {RawSurveyPathFor(path), folder / "link.txt", folder / "hard.txt",
                                   folder / "." + "/hole.txt"}) {
        const ConvertResult result = ConvertLasFile(path, out, {});
        EXPECT_EQ(result.status, ConvertResult::Status::SameFile) << out;
        EXPECT_FALSE(result.message.empty());
    }
    EXPECT_EQ(ReadBytes(path), las);
    EXPECT_EQ(folder.FileCount(), 3u) << "no temporary file is left";
}

TEST(Converter, UnwritableOutputIsReportedAndLeavesNoFile)
{
    ScratchFolder folder;
    WriteBytes(folder / "in.las", "~C\nD:DEPTH\n~A\n1\n");
    const std::string out = folder / "no-such-folder/out.txt";
    const ConvertResult result = ConvertLasFile(folder / "in.las", out, {});
    EXPECT_EQ(result.status, ConvertResult::Status::OpenOutputFailed);
    EXPECT_EQ(result.message, "Failed to open\n  " + out + "\nfor writing");
    EXPECT_EQ(folder.FileCount(), 1u);
}

TEST(Converter, ReplacesAnEarlierOutputFile)
{
    ScratchFolder folder;
    WriteBytes(folder / "in.las", "~C\nD:DEPTH\n~A\n1\n");
    WriteBytes(folder / "in.txt", std::string(10000, 'x'));
    ASSERT_TRUE(ConvertLasFile(folder / "in.las", folder / "in.txt", {}).Ok());
    EXPECT_EQ(ReadBytes(folder / "in.txt"), kZeroHead + "     DEPTH\r\n   1.00000\r\n");
    EXPECT_EQ(folder.FileCount(), 2u);
}

} // namespace
