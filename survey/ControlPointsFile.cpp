#include "survey/ControlPointsFile.h"

#include "survey/ControlPoint.h"
#include "survey/LineSource.h"
#include "textio/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace survey {

namespace {

bool FitsScaled(double value, double scale)
{
    const double scaled = std::round(value * scale);
    return std::isfinite(scaled) && scaled >= INT32_MIN && scaled <= INT32_MAX;
}

// The current line of `source` into `line`, keeping at most
// kMaxControlPointLine characters; `cut` tells whether more were passed over.
// A line starting with "#" is a comment: empty and not cut, however long.
void ReadBoundedLine(LineSource& source, std::string& line, bool& cut)
{
    line.clear();
    cut = false;
    for (std::string_view piece; source.NextPiece(piece);) {
        if (line.empty() && piece.front() == '#')
            return; // the rest of the line is passed over with it
        if (piece.size() > kMaxControlPointLine - line.size()) {
            cut = true;
            return;
        }
        line.append(piece);
    }
}

} // namespace

bool ScaledControlPoint(const ControlPointEntry& entry, double scale, int& x, int& y)
{
    if (!FitsScaled(entry.depth, scale) || !FitsScaled(entry.azimuth, scale))
        return false;
    x = static_cast<int>(std::llround(entry.depth * scale));
    y = static_cast<int>(std::llround(entry.azimuth * scale));
    return true;
}

bool ReadControlPoints(LineSource& source, const std::string& name,
                       std::vector<ControlPointEntry>& points, std::string& error)
{
    std::string line;
    bool cut = false;
    long number = 0;
    while (source.NextLine()) {
        ++number;
        ReadBoundedLine(source, line, cut);
        if (!cut && line.find_first_not_of(" \t") == std::string::npos)
            continue;
        double values[2] = {0, 0};
        int count = 0;
        bool ok = !cut;
        textio::ForEachToken(line, [&](std::string_view token) {
            ok = ok && count < 2 && textio::ReadWholeNumber(token, values[count]);
            ++count;
            return ok;
        });
        const ControlPointEntry entry{values[0], values[1], number};
        int x = 0, y = 0;
        if (!ok || count != 2 || !ScaledControlPoint(entry, kPlotScale, x, y)) {
            error = textio::Format("%s:%ld: expected DEPTH AZIMUTH", name.c_str(), number);
            return false;
        }
        if (points.size() == kMaxControlPointEntries) {
            error = textio::Format("%s:%ld: at most %zu control points", name.c_str(), number,
                                   kMaxControlPointEntries);
            return false;
        }
        points.push_back(entry);
    }
    if (source.Failed()) {
        error = name + ": read error";
        return false;
    }
    return true;
}

std::vector<ControlPointEntry> ControlPointsOf(const CKestrixDoc& doc)
{
    std::vector<ControlPointEntry> points;
    const std::int32_t count = std::clamp<std::int32_t>(doc.m_nControlPoints, 0, CKestrixDoc::kMaxControlPoints);
    for (std::int32_t i = 0; i < count; ++i) {
        const ControlPoint& point = doc.m_ControlPoints[static_cast<std::size_t>(i)];
        points.push_back({point.x / doc.m_dScale, point.y / doc.m_dScale, i + 1});
    }
    return points;
}

std::string ControlPointsText(const std::vector<ControlPointEntry>& points)
{
    std::string text = "# depth_m azimuth_deg\r\n";
    for (const ControlPointEntry& point : points) {
        textio::AppendShortest(text, point.depth);
        text += ' ';
        textio::AppendShortest(text, point.azimuth);
        text += "\r\n";
    }
    return text;
}

textio::SafeFileWriter::Status WriteControlPointsFile(const std::vector<ControlPointEntry>& points,
                                                      const std::string& path)
{
    textio::SafeFileWriter writer(path);
    if (const auto status = writer.Open(); status != textio::SafeFileWriter::Status::Ok)
        return status;
    writer.Write(ControlPointsText(points));
    return writer.Commit();
}

} // namespace survey
