// The results LAS file read by the project's own converter.
#include "convert/LasConverter.h"
#include "CsvRows.h"
#include "ScratchFolder.h"
#include "SurveyFiles.h"
#include "survey/ResultsExport.h"

#include <gtest/gtest.h>

#include <array>

using namespace survey;

namespace {

// Every value the converter writes agrees with the CSV's to its five
// decimals, and the raw survey file it makes loads the same readings.
TEST(ResultsLas, ConverterReadsEveryValueBack)
{
    CKestrixDoc doc;
    ASSERT_EQ(LoadSurveyFile(doc, KESTRIX_EXAMPLES_DIR "/demo.txt"), LoadResult::Loaded);
    ScratchFolder folder;
    ASSERT_EQ(WriteResultsFile(doc, folder / "demo.las", ResultsFormat::Las, {}), ExportResult::Ok);
    ASSERT_EQ(WriteResultsFile(doc, folder / "demo.csv", ResultsFormat::Csv, {}), ExportResult::Ok);
    const convert::Collar collar{doc.m_dEasting, doc.m_dNorthing, doc.m_dHeight, doc.m_dDeclination};
    const convert::ConvertResult converted = convert::ConvertLasFile(folder / "demo.las", folder / "raw.txt", collar);
    ASSERT_TRUE(converted.Ok()) << converted.message;
    EXPECT_TRUE(converted.Warnings().empty());

    const auto csv = CsvRows(ReadFile(folder / "demo.csv"));
    std::istringstream raw(ReadFile(folder / "raw.txt"));
    std::string line;
    for (int i = 0; i < 6; ++i)
        std::getline(raw, line);
    ASSERT_EQ(csv.size(), static_cast<std::size_t>(doc.m_nObs));
    for (std::size_t i = 0; i < csv.size(); ++i) {
        ASSERT_TRUE(std::getline(raw, line));
        std::istringstream fields(line);
        std::vector<double> values;
        for (double value; fields >> value;)
            values.push_back(value);
        ASSERT_EQ(values.size(), csv[i].size()) << line;
        for (std::size_t c = 0; c < values.size(); ++c)
            ASSERT_NEAR(values[c], csv[i][c], 5.01e-6) << "row " << i << " column " << c;
    }

    CKestrixDoc reloaded;
    ASSERT_EQ(LoadSurveyFile(reloaded, folder / "raw.txt"), LoadResult::Loaded);
    ASSERT_EQ(reloaded.m_nObs, doc.m_nObs);
    const auto readings = [](const Observation& o) {
        return std::array{o.Depth, o.MagX, o.MagY, o.MagZ, o.AccX, o.AccY, o.AccZ};
    };
    for (int i = 0; i < doc.m_nObs; ++i)
        ASSERT_EQ(readings(reloaded.m_pObs[i]), readings(doc.m_pObs[i])) << i;
}

} // namespace
