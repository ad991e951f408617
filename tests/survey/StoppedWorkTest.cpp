// Long work told to stop by its progress: a load leaves no readings, an
// export no file and the earlier one as it was.
#include "NamedRows.h"
#include "ScratchFolder.h"
#include "StoppingProgress.h"
#include "SurveyRows.h"
#include "survey/ResultsExport.h"
#include "survey/XyzExport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace survey;

namespace {

std::vector<Row> RowsOfAHole(int count)
{
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({i * 0.1, 0.2, 0.1, 0.4, 0.1, 1, 0.3});
    return rows;
}

TEST(StoppedLoad, LeavesNoReadingsAndSaysNothing)
{
    const std::string text = RawSurveyText(RowsOfAHole(20000));
    CKestrixDoc doc;
    RecordingSink sink;
    StringLineSource source(text);
    StoppingProgress progress(2);
    EXPECT_EQ(doc.LoadRawSurvey("/surveys/hole7.txt", source, sink, &progress), LoadResult::Cancelled);
    EXPECT_EQ(doc.m_nObs, 0);
    EXPECT_EQ(doc.m_pObs, nullptr);
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_EQ(progress.told.size(), 2u);
    EXPECT_EQ(progress.told[0].total, text.size()) << "bytes of the source";
    EXPECT_LT(progress.told[0].done, progress.told[1].done);
}

TEST(StoppedLoad, AProgressThatGoesOnChangesNothing)
{
    const std::string text = RawSurveyText(RowsOfAHole(20000));
    CKestrixDoc doc;
    RecordingSink sink;
    StringLineSource source(text);
    StoppingProgress progress(0);
    EXPECT_EQ(doc.LoadRawSurvey("/surveys/hole7.txt", source, sink, &progress), LoadResult::Loaded);
    EXPECT_EQ(doc.m_nObs, 20000);
    EXPECT_EQ(progress.told.size(), 20000 / textio::ProgressTicker::kGrain) << "told every 4096 rows, no more";
}

struct StoppedExportRow {
    const char* name;
    std::function<ExportResult(const CKestrixDoc&, const std::string&, textio::Progress*)> write;
};

class StoppedExport : public ::testing::TestWithParam<StoppedExportRow> {};

TEST_P(StoppedExport, LeavesNoFileAndTheEarlierOneAsItWas)
{
    ScratchFolder folder;
    CKestrixDoc doc;
    FillDocument(doc, RowsOfAHole(10000));
    StoppingProgress stop(1);
    EXPECT_EQ(GetParam().write(doc, folder / "new.out", &stop), ExportResult::Cancelled);
    WriteFile(folder / "earlier.out", "earlier file");
    StoppingProgress stopLater(2);
    EXPECT_EQ(GetParam().write(doc, folder / "earlier.out", &stopLater), ExportResult::Cancelled);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"earlier.out"}) << "no new file, no scratch file";
    EXPECT_EQ(ReadFile(folder / "earlier.out"), "earlier file");
    EXPECT_EQ(ExportFailureMessage(ExportResult::Cancelled, folder / "new.out"), "") << "not a failure";
}

INSTANTIATE_TEST_SUITE_P(
    Export, StoppedExport,
    ::testing::Values(
        StoppedExportRow{"Xyz",
                         [](const CKestrixDoc& doc, const std::string& path, textio::Progress* progress) {
                             return WriteXyzFile(doc, path, {}, progress);
                         }},
        StoppedExportRow{"ResultsCsv",
                         [](const CKestrixDoc& doc, const std::string& path, textio::Progress* progress) {
                             return WriteResultsFile(doc, path, ResultsFormat::Csv, {}, progress);
                         }},
        StoppedExportRow{"ResultsLas",
                         [](const CKestrixDoc& doc, const std::string& path, textio::Progress* progress) {
                             return WriteResultsFile(doc, path, ResultsFormat::Las, {}, progress);
                         }}),
    RowName());

} // namespace
