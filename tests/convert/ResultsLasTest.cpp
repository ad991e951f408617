// The results LAS file read by the project's own converter.
#include "convert/LasConverter.h"
#include "ScratchFolder.h"
#include "SurveyFiles.h"
#include "survey/ResultsExport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>

using namespace survey;

namespace {

// The numbers of each line after the first `skip` lines, split at `separator`.
std::vector<std::vector<double>> Numbers(const std::string& text, int skip, char separator)
{
    std::istringstream in(text);
    std::string line;
    for (int i = 0; i < skip; ++i)
        std::getline(in, line);
    std::vector<std::vector<double>> rows;
    while (std::getline(in, line)) {
        std::vector<double>& row = rows.emplace_back();
        for (const char* p = line.c_str(); *p && *p != '\r';) {
            char* end = nullptr;
            row.push_back(std::strtod(p, &end));
            p = *end == separator ? end + 1 : end;
        }
    }
    return rows;
}

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
    EXPECT_EQ(converted.curveCount, 22);

    const auto raw = Numbers(ReadFile(folder / "raw.txt"), 6, ' ');
    const auto csv = Numbers(ReadFile(folder / "demo.csv"), 1, ',');
    ASSERT_EQ(raw.size(), csv.size());
    ASSERT_EQ(raw.size(), static_cast<std::size_t>(doc.m_nObs));
    for (std::size_t i = 0; i < raw.size(); ++i) {
        ASSERT_EQ(raw[i].size(), csv[i].size()) << "row " << i;
        for (std::size_t c = 0; c < raw[i].size(); ++c)
            ASSERT_NEAR(raw[i][c], csv[i][c], 5.01e-6) << "row " << i << " column " << c;
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
