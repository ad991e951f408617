#include "convert/LasConverter.h"
#include "ConvertTestFiles.h"
#include "NamedRows.h"
#include "StoppingProgress.h"
#include "textio/NumberText.h"

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

struct ScanRow {
    const char* name;
    std::string las, body; // the raw survey file after its collar block, without CR
};

class Scan : public ::testing::TestWithParam<ScanRow> {};

TEST_P(Scan, TakesTheCurveListAndTheData)
{
    EXPECT_EQ(WithoutCR(Convert(GetParam().las)), WithoutCR(kZeroHead) + GetParam().body);
}

const std::string kTwo = "~VERSION INFORMATION\n VERS. 2.0 : v\n~CURVE INFORMATION\n D.M : DEPTH\n X.G : MagX\n";
const std::string kThree = "~CURVE INFORMATION\nD:a\nX:b\nY:c\n~A\n";
const std::string kTwoNames = "     DEPTH       MagX\n", kThreeNames = "         a          b          c\n";

INSTANTIATE_TEST_SUITE_P(
    Converter, Scan,
    ::testing::Values(
        ScanRow{"CurveListFollowedDirectlyByTheData", kTwo + "~A DEPTH MAGX\n1 2\n3 4\n",
                kTwoNames + "   1.00000    2.00000\n   3.00000    4.00000\n"},
        ScanRow{"NamesKeepTheirBlanksAndALongNameIsWrittenWhole",
                "~CURVE INFORMATION\nMAGX.NT     : MagX\nA.B:TwelveChars\nC.D:x\n~A\n1 2 3\n",
                "      MagX TwelveChars          x\n   1.00000    2.00000    3.00000\n"},
        ScanRow{"CommentsBlankLinesRulersAndHeadingsInTheCurveList",
                "~CURVE INFORMATION\n#MNEM.UNIT  DESCRIPTION\n D.M : DEPTH\n\n \t \n  # note\n---------\n  DEPT  MAGX\n"
                " X.G : MagX\n~A\n1 2\n",
                kTwoNames + "   1.00000    2.00000\n"},
        ScanRow{"CurveLineWithADotButNoColonIsNamedByTheWholeLine", "~C\n DEPT.M \nX:MagX\n~A\n1 2\n",
                "   DEPT.M        MagX\n   1.00000    2.00000\n"},
        ScanRow{"SectionNamesInMixedCase", "~Curve Information\n D.M : DEPTH\n~ASCII\n5\n", "     DEPTH\n   5.00000\n"},
        ScanRow{"IndentedSectionLinesInLowerCase", "  ~c\n D.M : DEPTH\n~P\n\t~a DEPTH\n5\n", "     DEPTH\n   5.00000\n"},
        ScanRow{"CurveSectionNameInAValueStartsNothing", "~W\n DESC. CURVE INFORMATION : x\n~C\nD:DEPTH\n~A\n7\n",
                "     DEPTH\n   7.00000\n"},
        ScanRow{"DataSectionMarkInAValueStartsNothing", "~C\nD:DEPTH\n~P\n COMP. ~ACME : company\n9\n~A\n7\n",
                "     DEPTH\n   7.00000\n"},
        ScanRow{"CommentLinesInTheData", kTwo + "~A\n# first\n1 2\n   #9 9\n3 4\n",
                kTwoNames + "   1.00000    2.00000\n   3.00000    4.00000\n"},
        ScanRow{"WrappedRecordAndTokensAfterACompletedRecordDropped", kThree + "910.0\n1 2 3 4\n6 7 8 9\n",
                kThreeNames + " 910.00000    1.00000    2.00000\n   6.00000    7.00000    8.00000\n"},
        ScanRow{"BlankDataLinesChangeNothing", kThree + "1\n\n \t\n2\n3\n", kThreeNames + "   1.00000    2.00000    3.00000\n"},
        ScanRow{"NumberFormats", kThree + "12345.6 -999.25 0\n", kThreeNames + "12345.60000 -999.25000    0.00000\n"},
        ScanRow{"TokensThatAreNotNumbers", kThree + "abc 12.5abc 1e3x\n-.5 nan 0x1A\n",
                kThreeNames + "   0.00000   12.50000 1000.00000\n  -0.50000    0.00000    0.00000\n"},
        ScanRow{"ValuesTooLargeAreWrittenAsZero", kThree + "1e999 -1e400 1e-400\n",
                kThreeNames + "   0.00000    0.00000    0.00000\n"},
        ScanRow{"IncompleteLastRecordDropped", kThree + "1 2 3\n4 5\n", kThreeNames + "   1.00000    2.00000    3.00000\n"},
        ScanRow{"LastDataLineWithoutALineEnd", kThree + "1 2\n3", kThreeNames + "   1.00000    2.00000    3.00000\n"},
        ScanRow{"DataSectionWithoutRecords", kThree, kThreeNames},
        ScanRow{"SecondCurveSectionPassedOver", "~C\nD:DEPTH\n~O\n~CURVE INFORMATION\nX:x\n~A\n1\n", "     DEPTH\n   1.00000\n"},
        ScanRow{"CrLfAndLoneCrEndLines", "~C\r\nD:DEPTH\r\nX:MagX\r~A\r\n1 2\r3\r\n4\n",
                kTwoNames + "   1.00000    2.00000\n   3.00000    4.00000\n"},
        ScanRow{"SectionLinesInTheDataAreData", kTwo + "~A\n1 2\n~Other 5\n",
                kTwoNames + "   1.00000    2.00000\n   0.00000    5.00000\n"}),
    RowName());

struct NotNumberRow {
    const char* name;
    std::string data; // after the curve list of three curves, which ends on line 5
    std::int64_t count, firstLine;
};

class NotNumbers : public ::testing::TestWithParam<NotNumberRow> {};

// Values written that were not wholly finite numbers are counted, with the
// line of the first, and reported as one warning.
TEST_P(NotNumbers, AreCountedWithTheFirstLine)
{
    ScratchFolder folder;
    WriteFile(folder / "in.las", kThree + GetParam().data);
    const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", {});
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(result.notNumbers, GetParam().count);
    EXPECT_EQ(result.firstNotNumberLine, GetParam().firstLine);
    const std::vector<std::string> warnings = result.Warnings();
    const std::string expected = textio::Format("Warning: %lld values were not numbers and were written as their "
                                                "leading number or 0 (first at line %lld)",
                                                static_cast<long long>(GetParam().count),
                                                static_cast<long long>(GetParam().firstLine));
    // The curves lack the names kestrix needs, which is the first warning.
    EXPECT_EQ(warnings.size(), GetParam().count ? 2u : 1u);
    EXPECT_EQ(warnings.back() == expected, GetParam().count > 0);
}

INSTANTIATE_TEST_SUITE_P(
    Converter, NotNumbers,
    ::testing::Values(NotNumberRow{"AllNumbers", "1 2 3\n-4.5e2 +.5 7.\n", 0, 0},
                      NotNumberRow{"LettersCommasTimesAndNan", "1 2 3\n1 abc 3\n4 1,5 12:30\nNaN 2 3\n", 4, 7},
                      NotNumberRow{"TooLarge", "1 2 3\n\n1e999 2 3\n", 1, 8},
                      NotNumberRow{"NulInsideAValue", std::string("1 2\0" "3 4\n", 8), 1, 6},
                      NotNumberRow{"DroppedTokensAndCommentsAreNotWritten", "# x y\n1 2 3 junk\n", 0, 0}),
    RowName());

const ConvertLimits kSmallLimits{8, 3};

struct RefusedRow {
    const char* name;
    std::string las;
    ConvertResult::Status status;
    std::string message; // after the LAS file's path
};

class Refused : public ::testing::TestWithParam<RefusedRow> {};

// A file that has nothing to convert, or goes past a limit, is a failure that
// says where; the file at the output path stays as it was.
TEST_P(Refused, SaysWhereAndKeepsTheEarlierFile)
{
    ScratchFolder folder;
    const std::string las = folder / "in.las", out = folder / "out.txt";
    WriteFile(las, GetParam().las);
    WriteFile(out, "earlier");
    const ConvertResult result = ConvertLasFile(las, out, {}, kSmallLimits);
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_EQ(result.message, las + GetParam().message);
    EXPECT_EQ(ReadFile(out), "earlier");
    EXPECT_EQ(folder.Entries().size(), 2u) << "no temporary file is left";
}

using S = ConvertResult::Status;

INSTANTIATE_TEST_SUITE_P(
    Converter, Refused,
    ::testing::Values(
        RefusedRow{"EmptyFile", "", S::NoCurveSection, ": no curve section"},
        RefusedRow{"RandomBytes", std::string("\x89PNG\r\n\x1a\n\0\0\x07~\xff~", 14), S::NoCurveSection,
                   ": no curve section"},
        RefusedRow{"CurveSectionNameInsideALine", "note: CURVE INFORMATION\nD:DEPTH\n~A\n7\n", S::NoCurveSection,
                   ": no curve section"},
        RefusedRow{"NoDataSection", "~C\nD:DEPTH\n~Other\n1 2\n", S::NoDataSection, ": no data section"},
        RefusedRow{"CurveListAtTheEndOfTheFile", "~CURVE INFORMATION\n DEPT.M : DEPTH", S::NoDataSection,
                   ": no data section"},
        RefusedRow{"CurveListWithoutCurves", "~C\n#MNEM\n-----\n~A\n1 2\n", S::NoCurves, ": no curves in the curve section"},
        RefusedRow{"CurveNamePastTheLimit", "~C\nA:12345678\nB:123456789\n~A\n", S::NameTooLong,
                   ":3: a curve name longer than 8 characters"},
        RefusedRow{"WholeLineNamePastTheLimit", "~C\nDEPTH.M123\n~A\n", S::NameTooLong,
                   ":2: a curve name longer than 8 characters"},
        RefusedRow{"DataValuePastTheLimit", "~C\nD:\n~A\n12345678\n\n123456789\n", S::ValueTooLong,
                   ":6: a data value longer than 8 characters"},
        RefusedRow{"TooManyCurves", "~C\nA:\nB:\nC:\nD:\n~A\n", S::TooManyCurves, ":5: more than 3 curves"}),
    RowName());

struct NotKeptRow {
    const char* name;
    std::string las;
};

class NotKept : public ::testing::TestWithParam<NotKeptRow> {};

// Text past the limits is harmless where the converter does not keep it.
TEST_P(NotKept, LongTextPassesTheLimits)
{
    ScratchFolder folder;
    WriteFile(folder / "in.las", GetParam().las);
    const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", {}, kSmallLimits);
    EXPECT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(WithoutCR(ReadFile(folder / "out.txt")), WithoutCR(kZeroHead) + "     DEPTH\n   1.00000\n");
}

const std::string kTooLong(20, '9');

INSTANTIATE_TEST_SUITE_P(
    Converter, NotKept,
    ::testing::Values(NotKeptRow{"WellSectionLine", "~W\n" + kTooLong + "\n~C\nD:DEPTH\n~A\n1\n"},
                      NotKeptRow{"CommentInTheCurveList", "~C\n#" + kTooLong + "\nD:DEPTH\n~A\n1\n"},
                      NotKeptRow{"CurveLineWhoseNameAfterTheColonIsShort", "~C\nD." + kTooLong + ":DEPTH\n~A\n1\n"},
                      NotKeptRow{"ValueAfterACompletedRecord", "~C\nD:DEPTH\n~A\n1 " + kTooLong + "\n"},
                      NotKeptRow{"CommentInTheData", "~C\nD:DEPTH\n~A\n#" + kTooLong + "\n1\n"}),
    RowName());

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

struct CollarRow {
    const char* name;
    Collar collar;
    std::string head; // the collar lines after "Collar coordinates:", without CR
};

class CollarBlock : public ::testing::TestWithParam<CollarRow> {};

// Numbers that fill their field are parted from the label by one blank.
TEST_P(CollarBlock, HeadsTheRawSurveyFile)
{
    EXPECT_EQ(WithoutCR(Convert("~C\nD:DEPTH\n~A\n", GetParam().collar)),
              "Collar coordinates:\n" + GetParam().head + "     DEPTH\n");
}

INSTANTIATE_TEST_SUITE_P(
    Converter, CollarBlock,
    ::testing::Values(CollarRow{"Zero", {}, WithoutCR(kZeroHead).substr(20)},
                      CollarRow{"Ordinary", {500000.25, 7000000, 350.4, 12.5},
                                "Easting   500000.25\nNorthing 7000000.00\nHeight       350.40\nDeclination   12.50\n"},
                      CollarRow{"FillingTheirFields", {12345678.9, 10000000, 1e10, 12345.67},
                                "Easting 12345678.90\nNorthing 10000000.00\nHeight  10000000000.00\nDeclination 12345.67\n"},
                      CollarRow{"Negative", {0, -1000000, -5, -999.99},
                                "Easting        0.00\nNorthing -1000000.00\nHeight        -5.00\nDeclination -999.99\n"}),
    RowName());

struct PathRow {
    const char* name;
    std::string las, raw;
};

class RawSurveyPath : public ::testing::TestWithParam<PathRow> {};

TEST_P(RawSurveyPath, ReplacesTheExtension) { EXPECT_EQ(RawSurveyPathFor(GetParam().las), GetParam().raw); }

INSTANTIATE_TEST_SUITE_P(Converter, RawSurveyPath,
                         ::testing::Values(PathRow{"LasExtension", "/d/hole1.las", "/d/hole1.txt"},
                                           PathRow{"UpperCaseExtension", "/d/hole1.LAS", "/d/hole1.txt"},
                                           PathRow{"OtherExtension", "/d/hole1.dat", "/d/hole1.txt"},
                                           PathRow{"ShortExtension", "/d/hole1.ls", "/d/hole1.txt"},
                                           PathRow{"NoExtensionStaysInItsFolder", "/d/xy", "/d/xy.txt"},
                                           PathRow{"DotInTheFolderOnly", "/d.las/xy", "/d.las/xy.txt"},
                                           PathRow{"ShortName", "ab", "ab.txt"}),
                         RowName());

struct FailureRow {
    const char* name;
    std::string las, out; // names in the folder that the test lays out
    ConvertResult::Status status;
    std::string message; // "@" stands for the folder; empty: any message
};

class Failure : public ::testing::TestWithParam<FailureRow> {};

TEST_P(Failure, LeavesEveryFileAsItWas)
{
    const FailureRow& row = GetParam();
    ScratchFolder folder;
    const std::string las = "~C\nD:DEPTH\n~A\n1\n";
    WriteFile(folder / "hole.txt", las); // a LAS file under its own raw survey name
    WriteFile(folder / "old.txt", "earlier");
    ASSERT_EQ(symlink((folder / "hole.txt").c_str(), (folder / "link.txt").c_str()), 0);
    ASSERT_EQ(link((folder / "hole.txt").c_str(), (folder / "hard.txt").c_str()), 0);
    std::filesystem::create_directory(folder / "dir.las");

    const ConvertResult result = ConvertLasFile(folder / row.las, folder / row.out, {});
    EXPECT_EQ(result.status, row.status);
    std::string message = row.message;
    for (std::size_t at; (at = message.find('@')) != std::string::npos;)
        message.replace(at, 1, folder.Path());
    if (message.empty())
        EXPECT_FALSE(result.message.empty());
    else
        EXPECT_EQ(result.message, message);
    EXPECT_EQ(ReadFile(folder / "hole.txt"), las);
    EXPECT_EQ(ReadFile(folder / "old.txt"), "earlier");
    EXPECT_EQ(folder.Entries().size(), 5u) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(
    Converter, Failure,
    ::testing::Values(FailureRow{"MissingLasFile", "missing.las", "old.txt", S::OpenLasFailed, "Failed to open\n  @/missing.las"},
                      FailureRow{"LasFileThatIsAFolder", "dir.las", "old.txt", S::OpenLasFailed, "Failed to open\n  @/dir.las"},
                      FailureRow{"RawSurveyNameOfTheLasFileItself", "hole.txt", RawSurveyPathFor("hole.txt"), S::SameFile, ""},
                      FailureRow{"SymbolicLinkToTheLasFile", "hole.txt", "link.txt", S::SameFile, ""},
                      FailureRow{"HardLinkToTheLasFile", "hole.txt", "hard.txt", S::SameFile, ""},
                      FailureRow{"MissingOutputFolder", "hole.txt", "no/out.txt", S::OpenOutputFailed,
                                 "Failed to open\n  @/no/out.txt\nfor writing"}),
    RowName());

TEST(Converter, StoppedByItsProgressLeavesTheEarlierFileAlone)
{
    ScratchFolder folder;
    std::string las = "~C\nD:DEPTH\nX:MagX\n~A\n";
    for (int i = 0; i < 10000; ++i)
        las += std::to_string(i) + " 0.25\n";
    WriteFile(folder / "hole.las", las);
    WriteFile(folder / "hole.txt", "earlier");
    StoppingProgress progress(1);
    const ConvertResult result =
        ConvertLasFile(folder / "hole.las", folder / "hole.txt", {}, {}, textio::ReadFrom::AnyFile, &progress);
    EXPECT_EQ(result.status, ConvertResult::Status::Cancelled);
    EXPECT_EQ(ReadFile(folder / "hole.txt"), "earlier");
    EXPECT_EQ(folder.Entries().size(), 2u) << "no temporary file is left";
    ASSERT_EQ(progress.told.size(), 1u);
    EXPECT_EQ(progress.told[0].total, las.size());
    EXPECT_GT(progress.told[0].done, 0u);
}

} // namespace
