#include "NamedRows.h"
#include "SurveyRows.h"
#include "survey/EditRecord.h"
#include "survey/ListingRows.h"
#include "views/ListingCache.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <optional>
#include <random>

using namespace survey;

namespace {

struct CacheRow {
    const char* name;
    ListedRows rows;
    int editsPerRefresh; // edits made between two refreshes
};

class ListingCacheTest : public ::testing::TestWithParam<CacheRow> {};

std::vector<std::uint64_t> DepthBits(const CKestrixDoc& doc)
{
    std::vector<std::uint64_t> bits;
    for (int i = 0; i < doc.m_nObs; ++i)
        bits.push_back(std::bit_cast<std::uint64_t>(doc.m_pObs[i].Depth));
    return bits;
}

// After random deletions (of one reading, two, or a scattered handful with
// neighbours among them), undos, recalculations and numbers too large for
// their fields, the rows listed anew about the change agree with a listing
// made from scratch, and so do the piece lengths.
TEST_P(ListingCacheTest, AgreesWithTheListingMadeFromScratch)
{
    // 0.7 m apart with a few repeated depths and some not a number: rows at
    // and about each 10 m.
    std::vector<Row> readings;
    for (int i = 0; i < 160; ++i)
        readings.push_back({0.7 * (i - i / 23), 0.2, 0.1, 0.4, 0.1 * (i % 5), 1, 9});
    CKestrixDoc doc;
    FillDocument(doc, readings);
    for (int i : {0, 40, 41, 97})
        doc.m_pObs[i].Depth = std::nan("");
    const ListedRows rows = GetParam().rows;
    ListingCache cache;
    cache.Refresh(doc, rows);
    std::vector<std::uint64_t> depthsBefore = DepthBits(doc);
    std::uint64_t revisionBefore = doc.Revision();
    std::vector<EditRecord> records;
    std::mt19937 random(25);
    auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, std::max(count - 1, 0))(random); };

    for (int step = 0; step < 120; ++step) {
        const int what = pick(7);
        std::optional<EditRecord> record;
        if (what == 0)
            record = ApplyRecorded(doc, edit::DeleteObservation{pick(doc.m_nObs)});
        else if (what == 1)
            record = ApplyRecorded(doc, edit::DeleteObservations{{pick(doc.m_nObs), pick(doc.m_nObs)}});
        else if (what == 5) {
            std::vector<std::int32_t> several;
            for (int k = pick(6) + 2; k > 0; --k) {
                several.push_back(pick(doc.m_nObs));
                several.push_back(several.back() + 1);
            }
            record = ApplyRecorded(doc, edit::DeleteObservations{several});
        } else if (what == 2)
            record = ApplyRecorded(doc, edit::SetRollAdjustment{90 * pick(4)});
        else if (what == 3 && !records.empty()) {
            ASSERT_TRUE(Undo(doc, records.back()));
            records.pop_back();
        } else if (what == 4 && doc.m_nObs > 0) {
            doc.m_pObs[pick(doc.m_nObs)].East = pick(2) == 0 ? 1e20 : 12.5;
            doc.UpdateAllViews();
        }
        if (record)
            records.push_back(std::move(*record));
        if ((step + 1) % GetParam().editsPerRefresh != 0)
            continue;

        const ListingCache::Change change = cache.Refresh(doc, rows);
        const std::vector<std::uint64_t> depths = DepthBits(doc);
        ASSERT_EQ(cache.Listed(), ListedObservations(doc, rows)) << "step " << step;
        std::set<std::array<std::size_t, 6>> lengths;
        for (int index : cache.Listed())
            lengths.insert(ListingRowPieceLengths(doc, index));
        ASSERT_TRUE(cache.MeasureRows(doc, cache.Listed().size()));
        ASSERT_EQ(cache.MeasuredPieceLengths(), lengths) << "step " << step;
        const ListingCache::Change expected = depths != depthsBefore            ? ListingCache::Change::Rows
                                              : doc.Revision() != revisionBefore ? ListingCache::Change::Values
                                                                                 : ListingCache::Change::None;
        EXPECT_EQ(change, expected) << "step " << step;
        depthsBefore = depths;
        revisionBefore = doc.Revision();
    }
}

INSTANTIATE_TEST_SUITE_P(Edits, ListingCacheTest,
                         ::testing::Values(CacheRow{"TenMetreSteps", ListedRows::TenMetreSteps, 1},
                                           CacheRow{"TenMetreStepsTwoEditsAtATime", ListedRows::TenMetreSteps, 2},
                                           CacheRow{"EveryReading", ListedRows::EveryReading, 1},
                                           CacheRow{"EveryReadingThreeEditsAtATime", ListedRows::EveryReading, 3}),
                         RowName());

} // namespace
