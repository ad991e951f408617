#include "NamedRows.h"
#include "RecordingSink.h"
#include "survey/ListingRows.h"
#include "survey/NearestReading.h"
#include "SurveyRows.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace survey;

namespace {

struct FilterRow {
    const char* name;
    std::vector<double> depths, listed;
};

class ListingFilter : public ::testing::TestWithParam<FilterRow> {};

TEST_P(ListingFilter, KeepsTheEndsAndTheSampleAtOrJustPastEachTenMetres)
{
    CKestrixDoc doc;
    std::vector<Row> rows;
    for (double d : GetParam().depths)
        rows.push_back({d, 0.2, 0.1, 0.4, 0, 1, 0.1});
    FillDocument(doc, rows);
    std::vector<double> listed;
    for (const auto& row : BuildListing(doc).rows)
        listed.push_back(doc.m_pObs[row.index].Depth);
    EXPECT_EQ(listed, GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(Rows, ListingFilter,
                         ::testing::Values(FilterRow{"Downwards", {9.8, 9.9, 10.0, 10.1, 10.2}, {9.8, 10.0, 10.2}},
                                           FilterRow{"Upwards", {10.2, 10.1, 10.0, 9.9, 9.8}, {10.2, 10.0, 9.8}},
                                           FilterRow{"SignDropped", {-9.8, -9.9, -10.0, -10.1, -10.2}, {-9.8, -10.0, -10.2}},
                                           FilterRow{"OneRow", {5}, {5}}, FilterRow{"TwoRows", {5, 6}, {5, 6}},
                                           FilterRow{"EqualRemaindersAreShown", {3, 5, 3, 5}, {3, 3, 5}},
                                           FilterRow{"NoRows", {}, {}}),
                         RowName());

TEST(Listing, NotANumberShowsTheRow)
{
    CKestrixDoc doc;
    FillDocument(doc, {{1, 0, 0, 0, 0, 0, 1}, {5, 0, 0, 0, 0, 0, 1}, {2, 0, 0, 0, 0, 0, 1}, {9, 0, 0, 0, 0, 0, 1}});
    EXPECT_FALSE(IsListed(doc, 1)) << "5 lies further past 10 m than 1";
    doc.m_pObs[2].Depth = std::nan("");
    EXPECT_TRUE(IsListed(doc, 1));
    EXPECT_TRUE(IsListed(doc, 2));
}

TEST(Listing, HeaderHeadingAndRowPieces)
{
    CKestrixDoc doc;
    FillDocument(doc, {{10, 0.2, 0.1, 0.4, 0, 1, 0}});
    doc.m_pObs[0].Height = 340;
    doc.m_pObs[0].MagE = 0.5;
    const ListingText listing = BuildListing(doc);
    EXPECT_EQ(listing.headerLines[0], "Raw input data");
    EXPECT_EQ(listing.headerLines[1], "Collar easting:   500000.00");
    EXPECT_EQ(listing.headerLines[2], "Collar northing: 7000000.00");
    EXPECT_EQ(listing.headerLines[3], "Collar height:       350.00");
    EXPECT_EQ(listing.headerLines[4], "Declination:          12.50");
    std::string heading;
    for (const auto& piece : listing.headingPieces)
        heading += piece;
    EXPECT_EQ(heading.size(), 152u);
    EXPECT_EQ(heading.substr(0, 24), "       Depth    CalcIncl");
    ASSERT_EQ(listing.rows.size(), 1u);
    const auto& pieces = listing.rows[0].pieces;
    EXPECT_EQ(pieces[0], "      10.000");
    EXPECT_EQ(pieces[4].substr(0, 12), "     50000.0");
    EXPECT_EQ(pieces[5].substr(0, 12), "    10.00000") << "TVD is the depth below the collar";
    EXPECT_EQ(pieces[5].size(), 56u);

    const std::string text = ListingAsText(listing);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    EXPECT_EQ(text.substr(text.size() - 1), "\n");
}

// What a failed load read shows its readings' depths and leaves the columns
// that were never computed blank, on screen and in copied rows.
TEST(Listing, FailedLoadLeavesTheComputedColumnsBlank)
{
    CKestrixDoc doc;
    RecordingSink sink;
    ASSERT_EQ(LoadText(doc, RawSurveyText({{10, 0.2, 0.1, 0.4, 0, 1, 0}}) + "1 2 3\r\n", sink),
              LoadResult::InvalidFormat);
    const ListingText listing = BuildListing(doc);
    ASSERT_EQ(listing.rows.size(), 1u);
    std::string row;
    for (const auto& piece : listing.rows[0].pieces)
        row += piece;
    EXPECT_EQ(row, "      10.000" + std::string(152 - 12, ' '));
    const std::string copied = ListingRowsAsTabText(doc, std::vector<int>{listing.rows[0].index});
    EXPECT_EQ(copied.substr(copied.find('\n') + 1), "10.000" + std::string(11, '\t') + "\n");
}

TEST(Listing, AbsurdValuesAreCutToThePieceBuffer)
{
    CKestrixDoc doc;
    FillDocument(doc, {{10, 0, 0, 0, 0, 0, 1}});
    doc.m_pObs[0].East = 1e308;
    doc.m_pObs[0].North = 1e308;
    doc.m_pObs[0].Height = -1e308;
    const ListingText listing = BuildListing(doc);
    EXPECT_EQ(listing.rows[0].pieces[5].size(), kListingPieceLimit);
}

} // namespace

namespace {

// The listing's cheap measure of a row agrees with the row as formatted,
// however large, small or odd its numbers.
struct LengthRow {
    const char* name;
    double value; // given to every computed field and the depth
};

class ListingRowLengths : public ::testing::TestWithParam<LengthRow> {};

TEST_P(ListingRowLengths, MatchTheFormattedPieces)
{
    CKestrixDoc doc;
    FillDocument(doc, {{10, 0.2, 0.1, 0.4, 0, 1, 0}});
    Observation& o = doc.m_pObs[0];
    for (double* field : {&o.Depth, &o.CalcIncl, &o.CalcRoll, &o.CalcAzMag, &o.MagE, &o.MagN, &o.MagU, &o.East,
                          &o.North, &o.Height})
        *field = GetParam().value;
    const ListingText::Row row = BuildListingRow(doc, 0);
    std::array<std::size_t, 6> formatted{};
    for (std::size_t k = 0; k < formatted.size(); ++k)
        formatted[k] = row.pieces[k].size();
    EXPECT_EQ(ListingRowPieceLengths(doc, 0), formatted);
}

INSTANTIATE_TEST_SUITE_P(Values, ListingRowLengths,
                         ::testing::Values(LengthRow{"Zero", 0.0}, LengthRow{"NegativeZero", -0.0},
                                           LengthRow{"BelowEveryLimit", 9998.9},
                                           LengthRow{"RoundsUpToAWiderNumber", 99999.999999},
                                           LengthRow{"NegativeAtTheLimit", -99999.0},
                                           LengthRow{"PastTheNarrowFields", -123456789.0},
                                           LengthRow{"PastEveryField", 1e15}, LengthRow{"Absurd", -1e308},
                                           LengthRow{"CarriesPastTheDepthsField", 9999999.9996},
                                           LengthRow{"JustBelowACarry", -99999999.99},
                                           LengthRow{"NotANumber", std::nan("")},
                                           LengthRow{"Infinite", -HUGE_VAL}),
                         RowName());

// The single pass that lists rows agrees with IsListed, NaN depths included.
TEST(Listing, ListedObservationsAgreeWithIsListed)
{
    std::vector<Row> rows;
    for (int i = 0; i < 200; ++i)
        rows.push_back({3.0 + 0.37 * i + (i % 7 == 0 ? 4.1 : 0.0), 0, 0, 0, 0, 0, 1});
    CKestrixDoc doc;
    FillDocument(doc, rows);
    doc.m_pObs[50].Depth = std::nan("");
    std::vector<int> expected;
    for (int i = 0; i < doc.m_nObs; ++i) {
        if (IsListed(doc, i))
            expected.push_back(i);
    }
    EXPECT_EQ(ListedObservations(doc, ListedRows::TenMetreSteps), expected);
}

struct NearestRow {
    const char* name;
    std::vector<double> depths;
    double wanted;
    int nearest;
};

class NearestReadingTest : public ::testing::TestWithParam<NearestRow> {};

TEST_P(NearestReadingTest, FindsTheFirstOfTheNearest)
{
    CKestrixDoc doc;
    std::vector<Row> rows;
    for (double d : GetParam().depths)
        rows.push_back({std::isnan(d) ? 0.0 : d, 0, 0, 0, 0, 0, 1});
    FillDocument(doc, rows);
    for (std::size_t i = 0; i < GetParam().depths.size(); ++i)
        doc.m_pObs[i].Depth = GetParam().depths[i];
    EXPECT_EQ(NearestReading(doc, GetParam().wanted), GetParam().nearest);
}

INSTANTIATE_TEST_SUITE_P(Depths, NearestReadingTest,
                         ::testing::Values(NearestRow{"Exact", {1, 2, 3}, 2, 1},
                                           NearestRow{"Between", {1, 2, 3}, 2.6, 2},
                                           NearestRow{"TieTakesTheFirst", {1, 2, 3}, 1.5, 0},
                                           NearestRow{"Upwards", {30, 20, 10}, 12, 2},
                                           NearestRow{"RepeatedDepth", {1, 2, 2, 3}, 2.1, 1},
                                           NearestRow{"NotANumberPassedOver", {1, std::nan(""), 3}, 2.2, 2},
                                           NearestRow{"NoReadings", {}, 5, -1}),
                         RowName());

TEST(Listing, DepthExtentLeavesOutNotANumber)
{
    CKestrixDoc doc;
    EXPECT_FALSE(DepthExtentOf(doc));
    FillDocument(doc, {{30, 0, 0, 0, 0, 0, 1}, {10, 0, 0, 0, 0, 0, 1}, {20, 0, 0, 0, 0, 0, 1}});
    doc.m_pObs[0].Depth = std::nan("");
    const std::optional<DepthExtent> extent = DepthExtentOf(doc);
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->shallowest, 10);
    EXPECT_EQ(extent->deepest, 20);
}

} // namespace
