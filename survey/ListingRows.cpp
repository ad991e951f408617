#include "survey/ListingRows.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"

#include <algorithm>
#include <cmath>
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

const std::array<ListingColumn, 12> kListingColumns = {{
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

bool IsListed(const CKestrixDoc& doc, int index)
{
    if (index == 0 || index == doc.m_nObs - 1)
        return true;
    const double here = DistancePastTen(doc.m_pObs[index].Depth);
    const double before = DistancePastTen(doc.m_pObs[index - 1].Depth);
    const double after = DistancePastTen(doc.m_pObs[index + 1].Depth);
    if (std::isnan(here) || std::isnan(before) || std::isnan(after))
        return true;
    return !(std::fmin(before, after) < here);
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

ListingText BuildListing(const CKestrixDoc& doc)
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
    // What a failed load read was never computed: its computed columns stay blank.
    const bool computed = doc.IsComputed();
    for (int i = 0; i < doc.m_nObs; ++i) {
        if (!IsListed(doc, i))
            continue;
        const Observation& o = doc.m_pObs[i];
        listing.rows.push_back({i, Pieces([&](const ListingColumn& column) {
                                    std::string text;
                                    if (computed || !column.computed)
                                        textio::AppendFixed(text, column.width, column.decimals, column.value(doc, o));
                                    else
                                        text.assign(static_cast<std::size_t>(column.width), ' ');
                                    return text;
                                })});
    }
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

std::string ListingRowsAsTabText(const CKestrixDoc& doc, const ListingText& listing, int first, int last)
{
    std::string text;
    const bool computed = doc.IsComputed();
    const char* separator = "";
    for (const ListingColumn& column : kListingColumns) {
        text += std::exchange(separator, "\t");
        text += column.heading;
    }
    text += '\n';
    const int rows = static_cast<int>(listing.rows.size());
    for (int row = std::max(first, 0); row <= last && row < rows; ++row) {
        const int index = listing.rows[static_cast<std::size_t>(row)].index;
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
