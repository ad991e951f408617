#include "survey/ListingRows.h"

#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"

#include <cmath>

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

} // namespace

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

ListingText BuildListing(const CKestrixDoc& doc)
{
    ListingText listing;
    listing.headerLines = {
        "Raw input data",
        Piece("Collar easting:  %10.2lf", doc.m_dEasting),
        Piece("Collar northing: %10.2lf", doc.m_dNorthing),
        Piece("Collar height:   %10.2lf", doc.m_dHeight),
        Piece("Declination:     %10.2lf", doc.m_dDeclination),
    };
    listing.headingPieces = {
        Piece("%*s", 12, "Depth"),
        Piece("%*s", 12, "CalcIncl"),
        Piece("%*s", 12, "CalcRoll"),
        Piece("%*s", 12, "CalcAzMag"),
        Piece("%*s%*s%*s%*s", 12, "MagE(nT)", 12, "MagN(nT)", 12, "MagU(nT)", 12, "MagIncl"),
        Piece("%*s%*s%*s%*s", 12, "TVD", 16, "East", 16, "North", 12, "Height"),
    };
    for (int i = 0; i < doc.m_nObs; ++i) {
        if (!IsListed(doc, i))
            continue;
        const Observation& o = doc.m_pObs[i];
        const double tvd = doc.m_dHeight - o.Height; // vertical depth below the collar
        listing.rows.push_back({i,
                                {
                                    Piece("%*.3lf", 12, o.Depth),
                                    Piece("%*.5lf", 12, o.CalcIncl),
                                    Piece("%*.5lf", 12, o.CalcRoll),
                                    Piece("%*.5lf", 12, o.CalcAzMag),
                                    Piece("%*.1lf%*.1lf%*.1lf%*.2lf", 12, o.MagE * kNanoteslaPerGauss, 12,
                                          o.MagN * kNanoteslaPerGauss, 12, o.MagU * kNanoteslaPerGauss, 12,
                                          o.CalcIncl),
                                    Piece("%*.5lf%*.5lf%*.5lf%*.5lf", 12, tvd, 16, o.East, 16,
                                          o.North, 12, o.Height),
                                }});
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

} // namespace survey
