#include "survey/XyzExport.h"

#include "survey/Anomalies.h"
#include "survey/KestrixDoc.h"
#include "survey/Orientation.h"
#include "survey/Trajectory.h"
#include "textio/FileFacts.h"
#include "textio/NumberText.h"
#include "textio/Progress.h"
#include "textio/SafeFile.h"

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace survey {

std::string DefaultExportPath(const std::string& surveyPath)
{
    const std::size_t keep = surveyPath.size() > 3 ? surveyPath.size() - 3 : 0;
    return surveyPath.substr(0, keep) + "xyz";
}

namespace {

// The "Li" line's name: the file name without its folder and last four characters.
std::string LineName(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

// The depth goes last, so every other column keeps its place for readers
// of files without it.
void AppendRow(std::string& out, const Observation& o, const Anomaly& values, bool depthColumn)
{
    for (const double value : {o.East, o.North, o.Height, values.tmi, values.east, values.north, values.up}) {
        textio::AppendFixed(out, 10, 2, value);
        out += ' ';
    }
    if (depthColumn) {
        textio::AppendFixed(out, 10, 2, o.Depth);
        out += ' ';
    }
    out += "\r\n";
}

} // namespace

ExportResult WriteExportFile(const CKestrixDoc& doc, const std::string& path, textio::Progress* progress,
                             const std::function<bool(textio::SafeFileWriter&, textio::ProgressTicker& rows)>& write)
{
    if (textio::IsSameFile(path, doc.m_strFilePath))
        return ExportResult::SameFile;
    textio::SafeFileWriter writer(path);
    if (writer.Open() != textio::SafeFileWriter::Status::Ok)
        return ExportResult::OpenFailed;
    textio::ProgressTicker rows(progress);
    if (!write(writer, rows))
        return ExportResult::Cancelled; // the writer removes its temporary file
    return writer.Commit() == textio::SafeFileWriter::Status::Ok ? ExportResult::Ok
                                                                  : ExportResult::WriteFailed;
}

std::string XyzHeader(const ExportOptions& options)
{
    const bool grid = options.frame == ComponentFrame::Grid;
    const std::string depth = options.depthColumn ? " Depth" : "";
    if (options.anomalies)
        return (grid ? "/East North Height dTMI dgridE, dgridN, dU" : "/East North Height dTMI dE, dN, dU") + depth;
    return (grid ? "/East North Height TMI gridE, gridN, gridZ" : "/East North Height TMI magE, magN, magZ") + depth;
}

ExportResult WriteXyzFile(const CKestrixDoc& doc, const std::string& path, const ExportOptions& options,
                          textio::Progress* progress)
{
    return WriteExportFile(doc, path, progress, [&](textio::SafeFileWriter& writer, textio::ProgressTicker& rows) {
        writer.Write(XyzHeader(options) + "\r\n");
        writer.Write("Li " + (options.lineName.empty() ? LineName(path) : options.lineName) + "\r\n");
        const std::vector<Anomaly> anomalies = options.anomalies ? AnomaliesOf(doc) : std::vector<Anomaly>{};
        // Grid azimuth = magnetic azimuth - declination: the horizontal
        // components turn by the same angle.
        const double turn = options.frame == ComponentFrame::Grid ? doc.DeclinationInForce() * kDegToRad : 0.0;
        const double cosT = std::cos(turn), sinT = std::sin(turn);
        const bool backwards = TraversesBackwards(doc);
        std::string row;
        const auto total = static_cast<std::uint64_t>(doc.m_nObs);
        for (int k = 0; k < doc.m_nObs; ++k) {
            if (!rows.Next(static_cast<std::uint64_t>(k), total))
                return false;
            const int i = backwards ? doc.m_nObs - 1 - k : k;
            const Observation& o = doc.m_pObs[i];
            Anomaly values{};
            if (options.anomalies) {
                values = anomalies[static_cast<std::size_t>(i)];
            } else {
                const double tmi = std::sqrt(o.MagE * o.MagE + o.MagN * o.MagN + o.MagU * o.MagU);
                values = {tmi * kNanoteslaPerGauss, o.MagE * kNanoteslaPerGauss, o.MagN * kNanoteslaPerGauss,
                          o.MagU * kNanoteslaPerGauss};
            }
            if (turn != 0.0)
                std::tie(values.east, values.north) = std::pair(values.east * cosT - values.north * sinT,
                                                                values.north * cosT + values.east * sinT);
            row.clear();
            AppendRow(row, o, values, options.depthColumn);
            writer.Write(row);
        }
        return true;
    });
}

std::string ExportFailureMessage(ExportResult result, const std::string& path, const std::string& kind)
{
    using Status = textio::SafeFileWriter::Status;
    switch (result) {
    case ExportResult::Ok:
    case ExportResult::Cancelled: break;
    case ExportResult::OpenFailed: return textio::WriteFailureMessage(Status::OpenFailed, path);
    case ExportResult::SameFile: return "The " + kind + " file would replace the raw survey file\n  " + path;
    case ExportResult::WriteFailed: return textio::WriteFailureMessage(Status::WriteFailed, path);
    }
    return std::string();
}

std::string ExportWarning(const CKestrixDoc& doc)
{
    if (doc.m_nObs > 0)
        return std::string();
    return "Warning: the survey has no readings; the XYZ file holds only its two header lines";
}

} // namespace survey
