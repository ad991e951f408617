#include "views/ListingCopy.h"

#include "survey/KestrixDoc.h"
#include "survey/ListingRows.h"
#include "textio/NumberText.h"

#include <algorithm>

using namespace survey;

namespace {

// The listing's columns: heading, format of the number and where it comes from.
struct Column {
    const char* name;
    const char* format;
    double (*value)(const CKestrixDoc& doc, const Observation& obs);
};

constexpr Column kColumns[] = {
    {"Depth", "%.3lf", [](const CKestrixDoc&, const Observation& o) { return o.Depth; }},
    {"CalcIncl", "%.5lf", [](const CKestrixDoc&, const Observation& o) { return o.CalcIncl; }},
    {"CalcRoll", "%.5lf", [](const CKestrixDoc&, const Observation& o) { return o.CalcRoll; }},
    {"CalcAzMag", "%.5lf", [](const CKestrixDoc&, const Observation& o) { return o.CalcAzMag; }},
    {"MagE(nT)", "%.1lf", [](const CKestrixDoc&, const Observation& o) { return o.MagE * kNanoteslaPerGauss; }},
    {"MagN(nT)", "%.1lf", [](const CKestrixDoc&, const Observation& o) { return o.MagN * kNanoteslaPerGauss; }},
    {"MagU(nT)", "%.1lf", [](const CKestrixDoc&, const Observation& o) { return o.MagU * kNanoteslaPerGauss; }},
    {"MagIncl", "%.2lf", [](const CKestrixDoc&, const Observation& o) { return o.CalcIncl; }},
    // The vertical depth below the collar.
    {"TVD", "%.5lf", [](const CKestrixDoc& d, const Observation& o) { return d.m_dHeight - o.Height; }},
    {"East", "%.5lf", [](const CKestrixDoc&, const Observation& o) { return o.East; }},
    {"North", "%.5lf", [](const CKestrixDoc&, const Observation& o) { return o.North; }},
    {"Height", "%.5lf", [](const CKestrixDoc&, const Observation& o) { return o.Height; }},
};

} // namespace

std::string ListingRowsAsTabText(const CKestrixDoc& doc, const ListingText& listing, int first, int last)
{
    std::string text;
    const char* separator = "";
    for (const Column& column : kColumns) {
        text += separator;
        text += column.name;
        separator = "\t";
    }
    text += '\n';
    const int rows = static_cast<int>(listing.rows.size());
    for (int row = std::max(first, 0); row <= last && row < rows; ++row) {
        const int index = listing.rows[static_cast<std::size_t>(row)].index;
        if (index < 0 || index >= doc.m_nObs)
            continue;
        const Observation& obs = doc.m_pObs[index];
        separator = "";
        for (const Column& column : kColumns) {
            text += separator;
            textio::AppendFormat(text, column.format, column.value(doc, obs));
            separator = "\t";
        }
        text += '\n';
    }
    return text;
}
