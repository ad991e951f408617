#include "ConvertTestFiles.h"
#include "LasConverter.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const std::string kZeroHead = "Collar coordinates:\r\nEasting        0.00\r\nNorthing       0.00\r\n"
                              "Height         0.00\r\nDeclination    0.00\r\n";

std::string Convert(const std::string& las, const Collar& collar = {})
{
    ScratchFolder folder;
    WriteBytes(folder / "in.las", las);
    const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", collar);
    EXPECT_TRUE(result.Ok()) << result.message;
    return ReadBytes(folder / "out.txt");
}

TEST(Converter, ScansCurveListAndData)
{
    const std::string two = "~VERSION INFORMATION\n VERS. 2.0 : v\n~CURVE INFORMATION\n D.M : DEPTH\n X.G : MagX\n";
    const std::string three = "~CURVE INFORMATION\nD:a\nX:b\nY:c\n~A\n";
    const std::string twoNames = "     DEPTH       MagX\n", threeNames = "         a          b          c\n";
    const std::vector<std::tuple<const char*, std::string, std::string>> cases = {
        {"curve list followed directly by ~A", two + "~A DEPTH MAGX\n1 2\n3 4\n",
         twoNames + "   1.00000    2.00000\n   3.00000    4.00000\n"},
        {"names keep their blanks; a long name is written whole",
         "~CURVE INFORMATION\nMAGX.NT     : MagX\nA.B:TwelveChars\nC.D:x\n~A\n1 2 3\n",
         "      MagX TwelveChars          x\n   1.00000    2.00000    3.00000\n"},
        {"comment and blank lines inside the curve list",
         "~CURVE INFORMATION\n#MNEM.UNIT  DESCRIPTION\n D.M : DEPTH\n\n \t \n  # note\n X.G : MagX\n~A\n1 2\n",
         twoNames + "   1.00000    2.00000\n"},
        {"~Curve Information", "~Curve Information\n D.M : DEPTH\n~ASCII\n5\n", "     DEPTH\n   5.00000\n"},
        {"indented ~c", "  ~c\n D.M : DEPTH\n~A DEPTH\n5\n", "     DEPTH\n   5.00000\n"},
        {"CURVE INFORMATION inside a line", "note: CURVE INFORMATION\nD:DEPTH\n~A\n7\n", "     DEPTH\n   7.00000\n"},
        {"comment lines in the data", two + "~A\n# first\n1 2\n   #9 9\n3 4\n",
         twoNames + "   1.00000    2.00000\n   3.00000    4.00000\n"},
        {"wrapped record; tokens after a completed record dropped", three + "910.0\n1 2 3 4\n6 7 8 9\n",
         threeNames + " 910.00000    1.00000    2.00000\n   6.00000    7.00000    8.00000\n"},
        {"blank data lines change nothing", three + "1\n\n \t\n2\n3\n", threeNames + "   1.00000    2.00000    3.00000\n"},
        {"number formats", three + "12345.6 -999.25 0\n", threeNames + "12345.60000 -999.25000    0.00000\n"},
        {"tokens that are not numbers", three + "abc 12.5abc 1e3x\n-.5 nan 0x1A\n",
         threeNames + "   0.00000   12.50000 1000.00000\n  -0.50000    0.00000    0.00000\n"},
        {"incomplete last record dropped", three + "1 2 3\n4 5\n", threeNames + "   1.00000    2.00000    3.00000\n"},
        {"no curve section", "~A\n1 2\n", ""},
        {"no data marker", "~CURVE INFORMATION\nD:DEPTH\n~Other\n1 2\n", "     DEPTH\n"},
        {"last curve line without a line end", "~CURVE INFORMATION\n DEPT.M : DEPTH", "     DEPTH\n"},
        {"curve line without a colon", "~C\nDEPT.M\nX:MagX\n~A\n1 2\n", "                 MagX\n   1.00000    2.00000\n"},
        {"second curve section passed over", "~C\nD:DEPTH\n~O\n~CURVE INFORMATION\nX:x\n~A\n1\n", "     DEPTH\n   1.00000\n"},
        {"curve list without curves", "~C\n~A\n1 2\n", ""},
        {"CR LF and lone CR end lines", "~C\r\nD:DEPTH\r\nX:MagX\r~A\r\n1 2\r3\r\n4\n",
         twoNames + "   1.00000    2.00000\n   3.00000    4.00000\n"},
        {"section lines in the data are data", two + "~A\n1 2\n~Other 5\n",
         twoNames + "   1.00000    2.00000\n   0.00000    5.00000\n"},
    };
    for (const auto& [name, las, body] : cases)
        EXPECT_EQ(WithoutCR(Convert(las)), WithoutCR(kZeroHead) + body) << name;
}

TEST(Converter, LinesOfAnyLengthStayWhole)
{
    std::string las = "~CURVE INFORMATION\n", values, expected;
    for (int i = 0; i < 60; ++i) {
        las += "C.U : " + std::string(i == 59 ? 300 : 1, 'n') + "\n";
        values += "123456.789012 ";
        expected += std::string(i ? " " : "") + "123456.78901";
    }
    const std::string body = WithoutCR(Convert(las + "~A\n" + values + "\n" + values + "\n"));
    EXPECT_NE(body.find(std::string(300, 'n') + "\n" + expected + "\n" + expected + "\n"), std::string::npos);
}

TEST(Converter, CollarBlock)
{
    EXPECT_EQ(Convert(""), kZeroHead);
    // Numbers that fill their field are parted from the label by one blank.
    const std::vector<std::pair<Collar, const char*>> cases = {
        {{500000.25, 7000000, 350.4, 12.5}, "Easting   500000.25\nNorthing 7000000.00\nHeight       350.40\nDeclination   12.50\n"},
        {{12345678.9, 10000000, 1e10, 12345.67},
         "Easting 12345678.90\nNorthing 10000000.00\nHeight  10000000000.00\nDeclination 12345.67\n"},
        {{0, -1000000, -5, -999.99}, "Easting        0.00\nNorthing -1000000.00\nHeight        -5.00\nDeclination -999.99\n"},
    };
    for (const auto& [collar, head] : cases)
        EXPECT_EQ(WithoutCR(Convert("", collar)), std::string("Collar coordinates:\n") + head);
}

TEST(Converter, RawSurveyPathReplacesLastThreeCharacters)
{
    for (const auto& [las, raw] : std::vector<std::pair<std::string, std::string>>{
             {"/d/hole1.las", "/d/hole1.txt"}, {"/d/hole1.LAS", "/d/hole1.txt"}, {"/d/hole1.dat", "/d/hole1.txt"},
             {"/d/hole1.ls", "/d/hole1txt"}, {"ab", "txt"}})
        EXPECT_EQ(RawSurveyPathFor(las), raw);
}

TEST(Converter, FailuresLeaveEveryFileAsItWas)
{
    ScratchFolder folder;
    const std::string las = "~C\nD:DEPTH\n~A\n1\n";
    const std::string hole = folder / "hole.txt"; // its own raw survey name
    WriteBytes(hole, las);
    WriteBytes(folder / "old.txt", "earlier");
    ASSERT_EQ(symlink(hole.c_str(), (folder / "link.txt").c_str()), 0);
    ASSERT_EQ(link(hole.c_str(), (folder / "hard.txt").c_str()), 0);
    std::filesystem::create_directory(folder / "dir.las");
    using S = ConvertResult::Status;
    const std::vector<std::tuple<std::string, std::string, S, std::string>> cases = {
        {folder / "missing.las", folder / "old.txt", S::OpenLasFailed, "Failed to open\n  " + folder / "missing.las"},
        {folder / "dir.las", folder / "old.txt", S::OpenLasFailed, "Failed to open\n  " + folder / "dir.las"},
        {hole, RawSurveyPathFor(hole), S::SameFile, ""},
        {hole, folder / "link.txt", S::SameFile, ""},
        {hole, folder / "hard.txt", S::SameFile, ""},
        {hole, folder / "no/out.txt", S::OpenOutputFailed, "Failed to open\n  " + folder / "no/out.txt" + "\nfor writing"},
    };
    for (const auto& [in, out, status, message] : cases) {
        const ConvertResult result = ConvertLasFile(in, out, {});
        EXPECT_EQ(result.status, status) << in << " to " << out;
        EXPECT_EQ(message.empty() ? !result.message.empty() : result.message == message, true) << result.message;
    }
    EXPECT_EQ(ReadBytes(hole), las);
    EXPECT_EQ(ReadBytes(folder / "old.txt"), "earlier");
    EXPECT_EQ(folder.FileCount(), 5) << "no temporary file is left";
}

} // namespace
