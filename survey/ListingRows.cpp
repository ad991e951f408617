#include "survey/ListingRows.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace survey {

namespace {

double DistancePastTen(double depth) { return std::fabs(std::fmod(depth, 10.0)); }

template <typename... Args>
std::string Piece(const char* format, Args... args)
{
    std::string text = textio::Format(format, args...);
    if (text.size() > kListingPieceLimit)
        text.resize(kListingPieceLimit);
    return text;
}

// The six pieces of a line, each its columns' texts run together.
template <typename ColumnText>
std::array<std::string, 6> Pieces(ColumnText columnText)
{
    std::array<std::string, 6> pieces;
    std::size_t column = 0;
    for (std::size_t piece = 0; piece < pieces.size(); ++piece) {
        for (int k = 0; k < kColumnsPerPiece[piece]; ++k)
            pieces[piece] += columnText(kListingColumns[column++]);
        if (pieces[piece].size() > kListingPieceLimit)
            pieces[piece].resize(kListingPieceLimit);
    }
    return pieces;
}

} // namespace

namespace {

// Constant here, so that a pass over many rows calls the value functions directly.
constexpr std::array<ListingColumn, 12> kColumns = {{
    {"Depth", 12, 3, [](const CKestrixDoc&, const Observation& o) { return o.Depth; }, false},
    {"CalcIncl", 12, 5, [](const CKestrixDoc&, const Observation& o) { return o.CalcIncl; }, true},
    {"CalcRoll", 12, 5, [](const CKestrixDoc&, const Observation& o) { return o.CalcRoll; }, true},
    {"CalcAzMag", 12, 5, [](const CKestrixDoc&, const Observation& o) { return o.CalcAzMag; }, true},
    {"MagE(nT)", 12, 1, [](const CKestrixDoc&, const Observation& o) { return o.MagE * kNanoteslaPerGauss; }, true},
    {"MagN(nT)", 12, 1, [](const CKestrixDoc&, const Observation& o) { return o.MagN * kNanoteslaPerGauss; }, true},
    {"MagU(nT)", 12, 1, [](const CKestrixDoc&, const Observation& o) { return o.MagU * kNanoteslaPerGauss; }, true},
    {"MagIncl", 12, 2, [](const CKestrixDoc&, const Observation& o) { return o.CalcIncl; }, true},
    // The vertical depth below the collar.
    {"TVD", 12, 5, [](const CKestrixDoc& d, const Observation& o) { return d.m_dHeight - o.Height; }, true},
    {"East", 16, 5, [](const CKestrixDoc&, const Observation& o) { return o.East; }, true},
    {"North", 16, 5, [](const CKestrixDoc&, const Observation& o) { return o.North; }, true},
    {"Height", 12, 5, [](const CKestrixDoc&, const Observation& o) { return o.Height; }, true},
}};

} // namespace

const std::array<ListingColumn, 12> kListingColumns = kColumns;

namespace {

// Whether a reading between two others is listed, given the three distances past 10 m.
bool ListedBetween(double before, double here, double after)
{
    if (std::isnan(here) || std::isnan(before) || std::isnan(after))
        return true;
    return !(std::fmin(before, after) < here);
}

// The largest magnitude that surely fits `column`'s field: one place is left
// for the sign and one for a carry of the rounding.
constexpr double FieldLimit(const ListingColumn& column)
{
    double power = 1.0;
    for (int k = 0; k < column.width - column.decimals - 2; ++k)
        power *= 10.0;
    return power - 1.0;
}

constexpr std::array<double, 12> kFieldLimits = [] {
    std::array<double, 12> limits{};
    for (std::size_t i = 0; i < limits.size(); ++i)
        limits[i] = FieldLimit(kColumns[i]);
    return limits;
}();

// The length of AppendFixed's text for `value`, counted without formatting
// where the rounding cannot carry into another digit.
std::size_t FixedLength(const ListingColumn& column, double value)
{
    static constexpr double kHalfUnits[] = {0.5, 0.05, 0.005, 0.0005, 0.00005, 0.000005};
    const double magnitude = std::fabs(value);
    // Powers of ten are exact doubles up to 1e22.
    if (magnitude < 1e22 && column.decimals >= 1 && column.decimals <= 5) {
        double power = 10.0;
        std::size_t digits = 1;
        while (magnitude >= power) {
            power *= 10.0;
            ++digits;
        }
        if (magnitude + 2 * kHalfUnits[column.decimals] < power) {
            const std::size_t length = (value < 0 ? 1 : 0) + digits + 1 + static_cast<std::size_t>(column.decimals);
            return std::max(length, static_cast<std::size_t>(column.width));
        }
    }
    std::string text;
    textio::AppendFixed(text, column.width, column.decimals, value);
    return text.size();
}

// The length of column `Column`'s text in a row of `o`: its field's width
// unless the number is too large for it, or blank.
template <std::size_t Column>
std::size_t ColumnLength(const CKestrixDoc& doc, const Observation& o, bool computed)
{
    constexpr ListingColumn column = kColumns[Column];
    constexpr auto width = static_cast<std::size_t>(column.width);
    if (!computed && column.computed)
        return width;
    const double value = column.value(doc, o);
    return std::fabs(value) < kFieldLimits[Column] ? width : FixedLength(column, value);
}

// The columns one after another, each value function called directly.
template <std::size_t... Column>
std::array<std::size_t, 6> PieceLengths(const CKestrixDoc& doc, const Observation& o, bool computed,
                                        std::index_sequence<Column...>)
{
    const std::array<std::size_t, sizeof...(Column)> columns = {ColumnLength<Column>(doc, o, computed)...};
    std::array<std::size_t, 6> lengths{};
    std::size_t column = 0;
    for (std::size_t piece = 0; piece < lengths.size(); ++piece) {
        for (int k = 0; k < kColumnsPerPiece[piece]; ++k)
            lengths[piece] += columns[column++];
        lengths[piece] = std::min(lengths[piece], kListingPieceLimit);
    }
    return lengths;
}

} // namespace

bool IsListed(const CKestrixDoc& doc, int index)
{
    if (index == 0 || index == doc.m_nObs - 1)
        return true;
    return ListedBetween(DistancePastTen(doc.m_pObs[index - 1].Depth), DistancePastTen(doc.m_pObs[index].Depth),
                         DistancePastTen(doc.m_pObs[index + 1].Depth));
}

std::vector<int> ListedObservations(const CKestrixDoc& doc, ListedRows rows)
{
    std::vector<int> listed;
    AppendListedObservations(doc, rows, 0, std::max(doc.m_nObs, 0), listed);
    return listed;
}

// One pass, each depth's distance past 10 m worked out once.
void AppendListedObservations(const CKestrixDoc& doc, ListedRows rows, int first, int end, std::vector<int>& listed)
{
    if (rows == ListedRows::EveryReading) {
        const std::size_t at = listed.size();
        listed.resize(at + static_cast<std::size_t>(std::max(end - first, 0)));
        std::iota(listed.begin() + static_cast<std::ptrdiff_t>(at), listed.end(), first);
        return;
    }
    const int count = doc.m_nObs;
    double before = first > 0 ? DistancePastTen(doc.m_pObs[first - 1].Depth) : 0.0;
    double here = first < end ? DistancePastTen(doc.m_pObs[first].Depth) : 0.0;
    for (int i = first; i < end; ++i) {
        const double after = i + 1 < count ? DistancePastTen(doc.m_pObs[i + 1].Depth) : 0.0;
        if (i == 0 || i == count - 1 || ListedBetween(before, here, after))
            listed.push_back(i);
        before = here;
        here = after;
    }
}

namespace {

// The first heading line, with the site and the trajectory method when the
// survey's edits set them.
std::string TitleLine(const CKestrixDoc& doc)
{
    std::string line = "Raw input data";
    const Site& site = doc.m_site;
    if (const std::optional<crs::Site>& place = doc.m_siteReference.place) {
        line += "; site ";
        if (site.epsg)
            line += crs::FormatEpsg(*site.epsg) + " (" + place->crsName + "), ";
        else
            line += "on a local grid, ";
        textio::AppendFormat(line, "latitude %.6f, longitude %.6f, convergence %.4f", place->latitude,
                             place->longitude, place->convergence);
    } else if (site.HasPlace()) {
        line += "; no site: " + doc.m_siteReference.problem;
    }
    if (site.date)
        line += "; date " + geomag::ToText(*site.date);
    if (doc.m_trajectory == TrajectoryMethod::MinimumCurvature)
        line += "; positions by minimum curvature";
    return Piece("%s", line.c_str());
}

// The declination line: the value in force, and where it came from when it
// is not the raw survey file's.
std::string DeclinationLine(const CKestrixDoc& doc)
{
    std::string line = textio::Format("Declination:     %10.2lf", doc.DeclinationInForce());
    const Site& site = doc.m_site;
    const SiteReference& reference = doc.m_siteReference;
    if (site.declinationFrom == Site::DeclinationFrom::Typed)
        line += textio::Format("  typed; the file's %.2f", doc.m_dDeclination);
    if (reference.field) {
        line += site.declinationFrom == Site::DeclinationFrom::Model ? "  from the model: " : "  model: ";
        line += geomag::BuiltInModel(site.model).name + " " + EastWestText(reference.field->declinationDegrees);
        textio::AppendFormat(line, ", convergence %.2f, convergence less D %.2f", reference.place->convergence,
                             *reference.SurveyDeclination());
        if (site.declinationFrom == Site::DeclinationFrom::Model)
            textio::AppendFormat(line, "; the file's %.2f", doc.m_dDeclination);
    }
    if (!site.IsEmpty())
        line += "; subtracted from the magnetic azimuth";
    return Piece("%s", line.c_str());
}

} // namespace

ListingText BuildListingHead(const CKestrixDoc& doc)
{
    ListingText listing;
    listing.headerLines = {
        TitleLine(doc),
        Piece("Collar easting:  %10.2lf", doc.m_dEasting),
        Piece("Collar northing: %10.2lf", doc.m_dNorthing),
        Piece("Collar height:   %10.2lf", doc.m_dHeight),
        DeclinationLine(doc),
    };
    listing.headingPieces = Pieces([](const ListingColumn& column) {
        return textio::Format("%*s", column.width, column.heading);
    });
    return listing;
}

// What a failed load read was never computed: its computed columns stay blank.
ListingText::Row BuildListingRow(const CKestrixDoc& doc, int index)
{
    const bool computed = doc.IsComputed();
    const Observation& o = doc.m_pObs[index];
    return {index, Pieces([&](const ListingColumn& column) {
                std::string text;
                if (computed || !column.computed)
                    textio::AppendFixed(text, column.width, column.decimals, column.value(doc, o));
                else
                    text.assign(static_cast<std::size_t>(column.width), ' ');
                return text;
            })};
}

std::array<std::size_t, 6> ListingRowPieceLengths(const CKestrixDoc& doc, int index)
{
    return PieceLengths(doc, doc.m_pObs[index], doc.IsComputed(), std::make_index_sequence<kColumns.size()>());
}

// Neighbouring rows mostly share their lengths: the set is searched only on a change.
std::set<std::array<std::size_t, 6>> ListingRowPieceLengthSet(const CKestrixDoc& doc, std::span<const int> indices)
{
    const bool computed = doc.IsComputed();
    std::set<std::array<std::size_t, 6>> lengths;
    std::array<std::size_t, 6> previous{};
    for (int index : indices) {
        const std::array<std::size_t, 6> row =
            PieceLengths(doc, doc.m_pObs[index], computed, std::make_index_sequence<kColumns.size()>());
        if (lengths.empty() || row != previous)
            lengths.insert(row);
        previous = row;
    }
    return lengths;
}

ListingText BuildListing(const CKestrixDoc& doc, ListedRows rows)
{
    ListingText listing = BuildListingHead(doc);
    const std::vector<int> listed = ListedObservations(doc, rows);
    listing.rows.reserve(listed.size());
    for (int index : listed)
        listing.rows.push_back(BuildListingRow(doc, index));
    return listing;
}

std::string ListingAsText(const ListingText& listing)
{
    std::string text;
    for (const auto& line : listing.headerLines)
        text += line + "\n";
    for (const auto& piece : listing.headingPieces)
        text += piece;
    text += "\n";
    for (const auto& row : listing.rows) {
        for (const auto& piece : row.pieces)
            text += piece;
        text += "\n";
    }
    return text;
}

std::string ListingRowsAsTabText(const CKestrixDoc& doc, std::span<const int> indices)
{
    std::string text;
    const bool computed = doc.IsComputed();
    const char* separator = "";
    for (const ListingColumn& column : kListingColumns) {
        text += std::exchange(separator, "\t");
        text += column.heading;
    }
    text += '\n';
    for (int index : indices) {
        if (index < 0 || index >= doc.m_nObs)
            continue;
        separator = "";
        for (const ListingColumn& column : kListingColumns) {
            text += std::exchange(separator, "\t");
            if (computed || !column.computed)
                textio::AppendFixed(text, 0, column.decimals, column.value(doc, doc.m_pObs[index]));
        }
        text += '\n';
    }
    return text;
}

} // namespace survey
