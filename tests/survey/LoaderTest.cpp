#include "DocumentHost.h"
#include "SurveyText.h"

#include <gtest/gtest.h>

namespace {

class CountingHost : public DocumentHost {
public:
    void UpdateAllViews() override { ++updates; }
    void OpenPlotWindows() override { ++plotWindows; }
    int updates = 0;
    int plotWindows = 0;
};

const std::vector<Row> kRows = {
    {1.0, 0.2, 0.1, 0.4, 0.0, 1.0, 0.1},
    {2.0, 0.21, 0.11, 0.41, 0.1, 1.0, 0.1},
    {3.0, 0.22, 0.12, 0.42, 0.2, 1.0, 0.1},
};

TEST(Loader, ConverterOutputLoadsCompletely)
{
    CKestrixDoc doc;
    CountingHost host;
    doc.SetHost(&host);
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, RawSurveyText(kRows), sink), LoadResult::Loaded);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(doc.m_strFilePath, "/surveys/hole7.txt");
    EXPECT_EQ(doc.m_dEasting, 500000.0);
    EXPECT_EQ(doc.m_dNorthing, 7000000.0);
    EXPECT_EQ(doc.m_dHeight, 350.0);
    EXPECT_EQ(doc.m_dDeclination, 12.5);
    ASSERT_EQ(doc.m_nObs, 3);
    EXPECT_EQ(doc.m_pObs[2].Depth, 3.0);
    EXPECT_EQ(doc.m_pObs[2].MagY, 0.12);
    EXPECT_EQ(doc.m_pObs[2].AccX, 0.2);
    EXPECT_NE(doc.m_pObs[2].CalcIncl, 0.0) << "the load ends with a recalculation";
    EXPECT_EQ(host.plotWindows, 1);
    EXPECT_EQ(host.updates, 1);
}

struct BadFileCase {
    const char* name;
    std::string text;
    int rowsKept;
    double eastingKept;
};

TEST(Loader, EachFormatFailureShowsItsMessageAndKeepsWhatWasRead)
{
    const std::string good = RawSurveyText(kRows);
    const std::string head = good.substr(0, good.find("   1.00000"));
    const std::vector<BadFileCase> cases = {
        {"empty file", "", 0, 0.0},
        {"title with trailing blank", "Collar coordinates: \r\n", 0, 0.0},
        {"header missing", head.substr(0, head.find("     DEPTH")), 0, 500000.0},
        {"depth name in mixed case", head.substr(0, head.find("     DEPTH")) + "Depth MagX MagY MagZ AccX AccY AccZ\r\n", 0, 500000.0},
        {"six numbers on a row", head + "1 2 3 4 5 6 7\r\n1 2 3 4 5 6\r\n", 1, 500000.0},
        {"word on a row", head + "1 2 3 4 5 6 7\r\n8 9 x 4 5 6 7\r\n", 1, 500000.0},
        {"empty line after the last row", good + "\r\n", 3, 500000.0},
        {"empty line between rows", head + "1 2 3 4 5 6 7\r\n\r\n1 2 3 4 5 6 7\r\n", 1, 500000.0},
        {"CR-only line ends", "Collar coordinates:\rEasting 1\rNorthing 2\r", 0, 0.0},
        {"keyword run into its number", "Collar coordinates:\r\nEasting500000.00\r\n", 0, 0.0},
        {"blank before the keyword", "Collar coordinates:\r\n Easting 1\r\n", 0, 0.0},
        {"word instead of a number", "Collar coordinates:\r\nEasting 1\r\nNorthing north\r\n", 0, 1.0},
        {"northing filling its field", "Collar coordinates:\r\nEasting    500000.00\r\nNorthing10000000.00\r\n", 0, 500000.0},
        {"keywords out of order", "Collar coordinates:\r\nNorthing 1\r\n", 0, 0.0},
    };
    for (const BadFileCase& c : cases) {
        CKestrixDoc doc;
        CountingHost host;
        doc.SetHost(&host);
        RecordingSink sink;
        EXPECT_EQ(LoadText(doc, c.text, sink), LoadResult::InvalidFormat) << c.name;
        EXPECT_EQ(sink.messages, std::vector<std::string>{"Invalid file format"}) << c.name;
        EXPECT_EQ(doc.m_nObs, c.rowsKept) << c.name;
        EXPECT_EQ(doc.m_dEasting, c.eastingKept) << c.name;
        EXPECT_EQ(host.plotWindows, 0) << c.name;
        EXPECT_EQ(host.updates, 0) << c.name;
        for (int i = 0; i < doc.m_nObs; ++i)
            EXPECT_EQ(doc.m_pObs[i].CalcIncl, 0.0) << c.name << ": nothing is computed";
    }
}

TEST(Loader, LenientFormsAreAccepted)
{
    const std::string tail = "     DEPTH       MagX       MagY       MagZ       AccX       AccY       AccZ\r\n"
                             "1 2 3 4 5 6 7 8 9\r\n";
    const std::string text = "COLLAR COORDINATES:\nEASTING 12.5m and more\r\nnorthing\t-3e2\r\n"
                             "Height 0\r\nDeclination 1\r\n" + tail;
    CKestrixDoc doc;
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, text, sink), LoadResult::Loaded);
    EXPECT_EQ(doc.m_dEasting, 12.5);
    EXPECT_EQ(doc.m_dNorthing, -300.0);
    ASSERT_EQ(doc.m_nObs, 1);
    EXPECT_EQ(doc.m_pObs[0].AccZ, 7.0) << "an eighth and ninth number are ignored";
}

TEST(Loader, HeaderNamesAreFoundAnywhereButColumnsGoByPosition)
{
    CKestrixDoc doc;
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, RawSurveyText(kRows, "AccZ AccY AccX MagZ MagY MagX xDEPTHx"), sink), LoadResult::Loaded);
    ASSERT_EQ(doc.m_nObs, 3);
    EXPECT_EQ(doc.m_pObs[0].Depth, 1.0);
    EXPECT_EQ(doc.m_pObs[0].AccY, 1.0);
}

TEST(Loader, HeaderWithoutRowsGivesAnEmptyComputedSurvey)
{
    CKestrixDoc doc;
    CountingHost host;
    doc.SetHost(&host);
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, RawSurveyText({}), sink), LoadResult::Loaded);
    EXPECT_EQ(doc.m_nObs, 0);
    EXPECT_EQ(host.plotWindows, 1);
    EXPECT_EQ(host.updates, 1);
}

TEST(Loader, LongLinesAreReadWhole)
{
    std::string row = "1 2 3 4 5 6 7";
    for (int i = 0; i < 100; ++i)
        row += " 123.45678";
    const std::string header = "     DEPTH       MagX       MagY       MagZ       AccX       AccY       AccZ" +
                               std::string(300, ' ') + "Extra";
    CKestrixDoc doc;
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, RawSurveyText({}, header.c_str()) + row + "\r\n" + row, sink), LoadResult::Loaded);
    EXPECT_EQ(doc.m_nObs, 2);
}

TEST(Loader, ObservationLimit)
{
    std::string text = RawSurveyText({});
    for (int i = 0; i < CKestrixDoc::kMaxObservations; ++i)
        text += "1 0.2 0.1 0.4 0 1 0\r\n";
    {
        CKestrixDoc doc;
        RecordingSink sink;
        EXPECT_EQ(LoadText(doc, text, sink), LoadResult::Loaded);
        EXPECT_TRUE(sink.messages.empty());
        EXPECT_EQ(doc.m_nObs, 20000);
    }
    text += "2 0.2 0.1 0.4 0 1 0\r\nnot even a number\r\n";
    CKestrixDoc doc;
    CountingHost host;
    doc.SetHost(&host);
    RecordingSink sink;
    EXPECT_EQ(LoadText(doc, text, sink), LoadResult::LoadedOverLimit);
    EXPECT_EQ(sink.messages, std::vector<std::string>{
                                 "The number of observations in the file exceeds the limit of 20000.\n"
                                 "Observations in excess of this have been ignored."});
    EXPECT_EQ(doc.m_nObs, 20000);
    EXPECT_EQ(host.plotWindows, 1) << "the load completes after the warning";
    EXPECT_NE(doc.m_pObs[19999].CalcIncl, 0.0);
}

TEST(LineSources, LineEndsAndLastLine)
{
    const char* text = "a\r\nb\nc\rXd\r\n\r\ne";
    StringLineSource source(text);
    std::vector<std::string> lines;
    for (std::string line; source.ReadLine(line);)
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));

    char path[] = "/tmp/lines-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    // Long enough to cross the reader's block boundaries, with a CR LF split between blocks.
    std::string big;
    while (big.size() < 65535)
        big += "x";
    big += "\r\n" + std::string(200000, 'y') + "\nlast";
    ASSERT_EQ(write(fd, big.data(), big.size()), static_cast<ssize_t>(big.size()));
    close(fd);
    FileLineSource file(path);
    std::string line;
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line.size(), 65535u);
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, std::string(200000, 'y'));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_FALSE(file.Failed());
    unlink(path);
}

} // namespace
