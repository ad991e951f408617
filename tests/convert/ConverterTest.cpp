#include "convert/LasConverter.h"
#include "ConvertTestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace convert;

namespace {

const std::string kZeroHead = "Collar coordinates:\r\nEasting        0.00\r\nNorthing       0.00\r\n"
                              "Height         0.00\r\nDeclination    0.00\r\n";

std::string Convert(const std::string& las, const Collar& collar = {})
{
    ScratchFolder folder;
    WriteFile(folder / "in.las", las);
    const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", collar);
    EXPECT_TRUE(result.Ok()) << result.message;
    return ReadFile(folder / "out.txt");
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
        {"comments, blank lines, rulers and column headings inside the curve list",
         "~CURVE INFORMATION\n#MNEM.UNIT  DESCRIPTION\n D.M : DEPTH\n\n \t \n  # note\n---------\n  DEPT  MAGX\n"
         " X.G : MagX\n~A\n1 2\n",
         twoNames + "   1.00000    2.00000\n"},
        {"a curve line with a dot but no colon is named by the whole line", "~C\n DEPT.M \nX:MagX\n~A\n1 2\n",
         "   DEPT.M        MagX\n   1.00000    2.00000\n"},
        {"~Curve Information", "~Curve Information\n D.M : DEPTH\n~ASCII\n5\n", "     DEPTH\n   5.00000\n"},
        {"indented ~c and ~a", "  ~c\n D.M : DEPTH\n~P\n\t~a DEPTH\n5\n", "     DEPTH\n   5.00000\n"},
        {"CURVE INFORMATION in a value starts nothing", "~W\n DESC. CURVE INFORMATION : x\n~C\nD:DEPTH\n~A\n7\n",
         "     DEPTH\n   7.00000\n"},
        {"~A in a value starts nothing", "~C\nD:DEPTH\n~P\n COMP. ~ACME : company\n9\n~A\n7\n", "     DEPTH\n   7.00000\n"},
        {"comment lines in the data", two + "~A\n# first\n1 2\n   #9 9\n3 4\n",
         twoNames + "   1.00000    2.00000\n   3.00000    4.00000\n"},
        {"wrapped record; tokens after a completed record dropped", three + "910.0\n1 2 3 4\n6 7 8 9\n",
         threeNames + " 910.00000    1.00000    2.00000\n   6.00000    7.00000    8.00000\n"},
        {"blank data lines change nothing", three + "1\n\n \t\n2\n3\n", threeNames + "   1.00000    2.00000    3.00000\n"},
        {"number formats", three + "12345.6 -999.25 0\n", threeNames + "12345.60000 -999.25000    0.00000\n"},
        {"tokens that are not numbers", three + "abc 12.5abc 1e3x\n-.5 nan 0x1A\n",
         threeNames + "   0.00000   12.50000 1000.00000\n  -0.50000    0.00000    0.00000\n"},
        {"incomplete last record dropped", three + "1 2 3\n4 5\n", threeNames + "   1.00000    2.00000    3.00000\n"},
        {"last data line without a line end", three + "1 2\n3", threeNames + "   1.00000    2.00000    3.00000\n"},
        {"a data section without records", three, threeNames},
        {"second curve section passed over", "~C\nD:DEPTH\n~O\n~CURVE INFORMATION\nX:x\n~A\n1\n", "     DEPTH\n   1.00000\n"},
        {"CR LF and lone CR end lines", "~C\r\nD:DEPTH\r\nX:MagX\r~A\r\n1 2\r3\r\n4\n",
         twoNames + "   1.00000    2.00000\n   3.00000    4.00000\n"},
        {"section lines in the data are data", two + "~A\n1 2\n~Other 5\n",
         twoNames + "   1.00000    2.00000\n   0.00000    5.00000\n"},
    };
    for (const auto& [name, las, body] : cases)
        EXPECT_EQ(WithoutCR(Convert(las)), WithoutCR(kZeroHead) + body) << name;
}

// A file that has nothing to convert, or goes past a limit, is a failure that
// says where; the file at the output path stays as it was.
TEST(Converter, FilesThatCannotBeConvertedAreReported)
{
    using S = ConvertResult::Status;
    const ConvertLimits small{8, 3};
    const std::vector<std::tuple<const char*, std::string, S, std::string>> cases = {
        {"empty file", "", S::NoCurveSection, ": no curve section"},
        {"random bytes", std::string("\x89PNG\r\n\x1a\n\0\0\x07~\xff~", 14), S::NoCurveSection, ": no curve section"},
        {"CURVE INFORMATION inside a line", "note: CURVE INFORMATION\nD:DEPTH\n~A\n7\n", S::NoCurveSection,
         ": no curve section"},
        {"no data section", "~C\nD:DEPTH\n~Other\n1 2\n", S::NoDataSection, ": no data section"},
        {"curve list at the end of the file", "~CURVE INFORMATION\n DEPT.M : DEPTH", S::NoDataSection,
         ": no data section"},
        {"curve list without curves", "~C\n#MNEM\n-----\n~A\n1 2\n", S::NoCurves, ": no curves in the curve section"},
        {"curve name past the limit", "~C\nA:12345678\nB:123456789\n~A\n", S::NameTooLong,
         ":3: a curve name longer than 8 characters"},
        {"whole-line name past the limit", "~C\nDEPTH.M123\n~A\n", S::NameTooLong, ":2: a curve name longer than 8 characters"},
        {"data value past the limit", "~C\nD:\n~A\n12345678\n\n123456789\n", S::ValueTooLong,
         ":6: a data value longer than 8 characters"},
        {"too many curves", "~C\nA:\nB:\nC:\nD:\n~A\n", S::TooManyCurves, ":5: more than 3 curves"},
    };
    ScratchFolder folder;
    const std::string las = folder / "in.las", out = folder / "out.txt";
    for (const auto& [name, text, status, message] : cases) {
        WriteFile(las, text);
        WriteFile(out, "earlier");
        const ConvertResult result = ConvertLasFile(las, out, {}, small);
        EXPECT_EQ(result.status, status) << name;
        EXPECT_EQ(result.message, las + message) << name;
        EXPECT_EQ(ReadFile(out), "earlier") << name;
        EXPECT_EQ(folder.Entries().size(), 2u) << name << ": no temporary file is left";
    }
}

// Text past the limits is harmless where the converter does not keep it.
TEST(Converter, LongTextThatIsNotKeptPassesTheLimits)
{
    const std::string tooLong(20, '9');
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"well section line", "~W\n" + tooLong + "\n~C\nD:DEPTH\n~A\n1\n"},
        {"comment in the curve list", "~C\n#" + tooLong + "\nD:DEPTH\n~A\n1\n"},
        {"curve line whose name after the colon is short", "~C\nD." + tooLong + ":DEPTH\n~A\n1\n"},
        {"value after a completed record", "~C\nD:DEPTH\n~A\n1 " + tooLong + "\n"},
        {"comment in the data", "~C\nD:DEPTH\n~A\n#" + tooLong + "\n1\n"},
    };
    ScratchFolder folder;
    for (const auto& [name, text] : cases) {
        WriteFile(folder / "in.las", text);
        const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", {}, {8, 3});
        EXPECT_TRUE(result.Ok()) << name << ": " << result.message;
        EXPECT_EQ(WithoutCR(ReadFile(folder / "out.txt")), WithoutCR(kZeroHead) + "     DEPTH\n   1.00000\n") << name;
    }
}

// Lines longer than a read block arrive in pieces; blanks, names and numbers
// cut by a seam come out as from short lines.
TEST(Converter, LinesLongerThanAReadBlockConvertAsShortOnes)
{
    const std::string pad(70000, ' '), zeros(70000, '0');
    const std::string longLines = pad + "~C\n D.M" + pad + ": DEPTH\n" + pad + "# note\nX.G : MagX\n" + pad + "~A\n" + pad
                                + "-" + zeros + "12.5 " + pad + "2.25\n";
    EXPECT_EQ(Convert(longLines), Convert("~C\n D.M: DEPTH\nX.G : MagX\n~A\n-12.5 2.25\n"));
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
    const std::string las = "~C\nD:DEPTH\n~A\n", names = "     DEPTH\n";
    EXPECT_EQ(WithoutCR(Convert(las)), WithoutCR(kZeroHead) + names);
    // Numbers that fill their field are parted from the label by one blank.
    const std::vector<std::pair<Collar, const char*>> cases = {
        {{500000.25, 7000000, 350.4, 12.5}, "Easting   500000.25\nNorthing 7000000.00\nHeight       350.40\nDeclination   12.50\n"},
        {{12345678.9, 10000000, 1e10, 12345.67},
         "Easting 12345678.90\nNorthing 10000000.00\nHeight  10000000000.00\nDeclination 12345.67\n"},
        {{0, -1000000, -5, -999.99}, "Easting        0.00\nNorthing -1000000.00\nHeight        -5.00\nDeclination -999.99\n"},
    };
    for (const auto& [collar, head] : cases)
        EXPECT_EQ(WithoutCR(Convert(las, collar)), std::string("Collar coordinates:\n") + head + names);
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
    WriteFile(hole, las);
    WriteFile(folder / "old.txt", "earlier");
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
    EXPECT_EQ(ReadFile(hole), las);
    EXPECT_EQ(ReadFile(folder / "old.txt"), "earlier");
    EXPECT_EQ(folder.Entries().size(), 5u) << "no temporary file is left";
}

} // namespace
