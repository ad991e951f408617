#pragma once

#include <array>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace survey {

class CKestrixDoc;
struct Observation;

// The text of the listing window: what it draws, line by line and piece by
// piece. The window advances each piece by its measured width; printed with
// the pieces run together, the lines are the listing as text.
struct ListingText {
    std::array<std::string, 5> headerLines;  // drawn at y = 0, 16, ..., 64
    std::array<std::string, 6> headingPieces; // drawn at y = 80
    struct Row {
        int index;                        // observation shown on this row
        std::array<std::string, 6> pieces;
    };
    std::vector<Row> rows; // drawn from y = 96, one every 16 pixels
};

// Each piece is cut to 1023 characters, as the listing's piece buffer holds.
inline constexpr std::size_t kListingPieceLimit = 1023;

// One number of a listed row: its heading, its field width in the listing,
// its decimals and the value it shows of an observation.
struct ListingColumn {
    const char* heading;
    int width;
    int decimals;
    double (*value)(const CKestrixDoc& doc, const Observation& obs);
    bool computed; // a computed field, not a reading: blank until the survey is computed
};

// The twelve columns, left to right, and how many of them each of the six
// pieces of a line holds.
extern const std::array<ListingColumn, 12> kListingColumns;
inline constexpr std::array<int, 6> kColumnsPerPiece = {1, 1, 1, 1, 4, 4};

// Which observations the listing shows: about one per 10 m (see IsListed),
// or every one.
enum class ListedRows { TenMetreSteps, EveryReading };

// Whether observation `index` of `doc` is listed: the first and last always,
// any other when its depth's distance past a multiple of 10 m is not larger
// than a neighbour's.
bool IsListed(const CKestrixDoc& doc, int index);

// The observations listed, in table order.
std::vector<int> ListedObservations(const CKestrixDoc& doc, ListedRows rows);
// Appends to `listed` the observations listed among `first` to `end` - 1
// (0 <= first <= end <= m_nObs), in table order.
void AppendListedObservations(const CKestrixDoc& doc, ListedRows rows, int first, int end, std::vector<int>& listed);

// The collar lines and the heading of the listing, without rows.
ListingText BuildListingHead(const CKestrixDoc& doc);
// The row of observation `index` (0 to m_nObs - 1).
ListingText::Row BuildListingRow(const CKestrixDoc& doc, int index);
// The lengths of the pieces BuildListingRow gives, formatting only the
// numbers too large for their fields.
std::array<std::size_t, 6> ListingRowPieceLengths(const CKestrixDoc& doc, int index);
// Every distinct ListingRowPieceLengths among the rows of observations
// `indices` (each 0 to m_nObs - 1).
std::set<std::array<std::size_t, 6>> ListingRowPieceLengthSet(const CKestrixDoc& doc, std::span<const int> indices);

ListingText BuildListing(const CKestrixDoc& doc, ListedRows rows = ListedRows::TenMetreSteps);

// The listing as text: every line its pieces run together, ending in "\n".
std::string ListingAsText(const ListingText& listing);

// The rows of observations `indices` of `doc` as tab-separated text for the
// clipboard: the headings on the first line, then one line per row with its
// numbers as the listing prints them, without the padding; an index out of
// the table is left out. Every line ends in "\n".
std::string ListingRowsAsTabText(const CKestrixDoc& doc, std::span<const int> indices);

} // namespace survey
