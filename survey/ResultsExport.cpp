#include "survey/ResultsExport.h"

#include "survey/KestrixDoc.h"
#include "survey/Trajectory.h"
#include "textio/NumberText.h"
#include "textio/Progress.h"
#include "textio/SafeFile.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace survey {

namespace {

// What one row of the results is made from.
struct Reading {
    const Observation& o;
    const QualityValues& q;
    std::uint8_t flags;
    double collarHeight;
};

struct Column {
    const char* csvName; // the quantity and its unit
    const char* mnemonic;
    const char* lasUnit; // empty: the accelerometer's own, which the raw survey file does not name
    const char* description;
    double (*value)(const Reading&);
};

// The first seven descriptions are the raw survey file's names, so that
// converting the LAS file gives a raw survey file of the same readings.
const Column kColumns[] = {
    {"depth_m", "DEPT", "M", "DEPTH", [](const Reading& r) { return r.o.Depth; }},
    {"mag_x_G", "MAGX", "G", "MagX", [](const Reading& r) { return r.o.MagX; }},
    {"mag_y_G", "MAGY", "G", "MagY", [](const Reading& r) { return r.o.MagY; }},
    {"mag_z_G", "MAGZ", "G", "MagZ", [](const Reading& r) { return r.o.MagZ; }},
    {"acc_x_as_recorded", "ACCX", "", "AccX", [](const Reading& r) { return r.o.AccX; }},
    {"acc_y_as_recorded", "ACCY", "", "AccY", [](const Reading& r) { return r.o.AccY; }},
    {"acc_z_as_recorded", "ACCZ", "", "AccZ", [](const Reading& r) { return r.o.AccZ; }},
    {"inclination_below_horizontal_deg", "INCL", "DEG", "inclination below the horizontal",
     [](const Reading& r) { return r.o.CalcIncl; }},
    {"roll_deg", "ROLL", "DEG", "roll", [](const Reading& r) { return r.o.CalcRoll; }},
    {"azimuth_measured_magnetic_deg", "AZIM", "DEG", "measured azimuth from magnetic north",
     [](const Reading& r) { return r.o.CalcAzMag; }},
    {"azimuth_used_magnetic_deg", "AZUS", "DEG", "azimuth used for positions, from magnetic north",
     [](const Reading& r) { return r.o.AzUsed; }},
    {"mag_north_nT", "MAGN", "NT", "field component north",
     [](const Reading& r) { return r.o.MagN * kNanoteslaPerGauss; }},
    {"mag_east_nT", "MAGE", "NT", "field component east",
     [](const Reading& r) { return r.o.MagE * kNanoteslaPerGauss; }},
    {"mag_up_nT", "MAGU", "NT", "field component up", [](const Reading& r) { return r.o.MagU * kNanoteslaPerGauss; }},
    {"total_field_nT", "TMF", "NT", "total field", [](const Reading& r) { return r.q.totalField; }},
    {"dip_deg", "DIP", "DEG", "magnetic dip", [](const Reading& r) { return r.q.dip; }},
    {"total_gravity_as_recorded", "TGRV", "", "total gravity in the accelerometer's unit",
     [](const Reading& r) { return r.q.totalGravity; }},
    {"spike_flags_1field_2gravity_4dip", "SPKF", "", "spike flags, 1 total field + 2 total gravity + 4 dip",
     [](const Reading& r) { return static_cast<double>(r.flags); }},
    {"east_m", "EAST", "M", "east", [](const Reading& r) { return r.o.East; }},
    {"north_m", "NORT", "M", "north", [](const Reading& r) { return r.o.North; }},
    {"height_m", "ELEV", "M", "height", [](const Reading& r) { return r.o.Height; }},
    {"vertical_depth_m", "TVD", "M", "vertical depth below the collar",
     [](const Reading& r) { return r.collarHeight - r.o.Height; }},
};

constexpr std::size_t kChunk = 1 << 16;
constexpr const char* kLasNull = "-999.25";
// Data columns line up for a reader while most values fit.
constexpr std::size_t kLasField = 20;

std::string Shortest(double value)
{
    std::string text;
    textio::AppendShortest(text, value);
    return text;
}

// Calls `row(text, reading)` for every reading in table order; the text goes
// to `writer` in chunks. False when `rows` asked to stop.
template <typename RowWriter>
bool ForEachReading(const CKestrixDoc& doc, const SpikeSettings& spikes, textio::SafeFileWriter& writer,
                    textio::ProgressTicker& rows, RowWriter&& row)
{
    // From the readings themselves, so a document whose recalculation never
    // ran still has one value per reading.
    std::vector<QualityValues> quality;
    quality.reserve(static_cast<std::size_t>(doc.m_nObs));
    for (int i = 0; i < doc.m_nObs; ++i)
        quality.push_back(QualityOf(doc.m_pObs[i]));
    const std::vector<std::uint8_t> flags = FindSpikes(quality, spikes);
    std::string text;
    for (int i = 0; i < doc.m_nObs; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!rows.Next(k, static_cast<std::uint64_t>(doc.m_nObs)))
            return false;
        row(text, Reading{doc.m_pObs[i], quality[k], flags[k], doc.m_dHeight});
        if (text.size() > kChunk) {
            writer.Write(text);
            text.clear();
        }
    }
    writer.Write(text);
    return true;
}

bool WriteCsv(const CKestrixDoc& doc, const SpikeSettings& spikes, textio::SafeFileWriter& writer,
              textio::ProgressTicker& rows)
{
    std::string header;
    for (const Column& column : kColumns)
        header += std::string(header.empty() ? "" : ",") + column.csvName;
    writer.Write(header + "\r\n");
    return ForEachReading(doc, spikes, writer, rows, [](std::string& text, const Reading& reading) {
        for (const Column& column : kColumns) {
            if (&column != kColumns)
                text += ',';
            textio::AppendShortest(text, column.value(reading));
        }
        text += "\r\n";
    });
}

// "MNEM.UNIT  VALUE : DESCRIPTION", aligned for a reader.
void AppendLasLine(std::string& out, const std::string& mnemonicAndUnit, const std::string& value,
                   const char* description)
{
    textio::AppendFormat(out, " %-10s %-24s : %s\r\n", mnemonicAndUnit.c_str(), value.c_str(), description);
}

// The depth step when every step between neighbouring readings is the same
// to well within the depths' written decimals; otherwise 0.
double RegularStep(const CKestrixDoc& doc)
{
    if (doc.m_nObs < 2)
        return 0.0;
    const double first = doc.m_pObs[0].Depth, last = doc.m_pObs[doc.m_nObs - 1].Depth;
    const double step = (last - first) / (doc.m_nObs - 1);
    for (int i = 1; i < doc.m_nObs; ++i) {
        if (!(std::fabs(doc.m_pObs[i].Depth - doc.m_pObs[i - 1].Depth - step) <= 1e-6))
            return 0.0;
    }
    return step;
}

bool WriteLas(const CKestrixDoc& doc, const SpikeSettings& spikes, textio::SafeFileWriter& writer,
              textio::ProgressTicker& rows)
{
    std::string text = "~Version Information\r\n";
    AppendLasLine(text, "VERS.", "2.0", "CWLS log ASCII standard, version 2.0");
    AppendLasLine(text, "WRAP.", "NO", "one line per depth step");

    text += "~Well Information\r\n";
    const bool any = doc.m_nObs > 0;
    AppendLasLine(text, "STRT.M", any ? Shortest(doc.m_pObs[0].Depth) : kLasNull, "first depth");
    AppendLasLine(text, "STOP.M", any ? Shortest(doc.m_pObs[doc.m_nObs - 1].Depth) : kLasNull, "last depth");
    AppendLasLine(text, "STEP.M", Shortest(RegularStep(doc)), "depth step, 0 when not regular");
    AppendLasLine(text, "NULL.", kLasNull, "null value");
    AppendLasLine(text, "COMP.", "", "company");
    AppendLasLine(text, "WELL.", "", "well");
    AppendLasLine(text, "FLD.", "", "field");
    AppendLasLine(text, "LOC.", "", "location");
    AppendLasLine(text, "SRVC.", "", "service company");
    AppendLasLine(text, "DATE.", doc.m_site.date ? geomag::ToText(*doc.m_site.date) : "", "survey date");
    AppendLasLine(text, "UWI.", "", "unique well identifier");

    text += "~Curve Information\r\n";
    for (const Column& column : kColumns)
        AppendLasLine(text, std::string(column.mnemonic) + "." + column.lasUnit, "", column.description);

    text += "~Parameter Information\r\n";
    AppendLasLine(text, "CLRE.M", Shortest(doc.m_dEasting), "collar easting");
    AppendLasLine(text, "CLRN.M", Shortest(doc.m_dNorthing), "collar northing");
    AppendLasLine(text, "CLRH.M", Shortest(doc.m_dHeight), "collar height");
    AppendLasLine(text, "DECR.DEG", Shortest(doc.m_dDeclination), "declination of the raw survey file");
    AppendLasLine(text, "DECL.DEG", Shortest(doc.DeclinationInForce()),
                  "declination in force, subtracted from the magnetic azimuth");

    text += "~A\r\n";
    writer.Write(text);
    return ForEachReading(doc, spikes, writer, rows, [](std::string& row, const Reading& reading) {
        for (const Column& column : kColumns) {
            const double value = column.value(reading);
            const std::string field = std::isfinite(value) ? Shortest(value) : std::string(kLasNull);
            row.append(field.size() < kLasField ? kLasField - field.size() : 1, ' ');
            row += field;
        }
        row += "\r\n";
    });
}

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

// Where the extension of the file name in `path` starts (its "."), or npos.
std::size_t ExtensionStart(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    // A dot that starts the name (".hole") begins no extension.
    return dot == std::string::npos || dot <= nameStart ? std::string::npos : dot;
}

std::string ExtensionOf(ResultsFormat format) { return format == ResultsFormat::Csv ? ".csv" : ".las"; }

} // namespace

std::string ResultsFormatName(ResultsFormat format) { return format == ResultsFormat::Csv ? "CSV" : "LAS"; }

ResultsFormat ResultsFormatOf(const std::string& path, ResultsFormat otherwise)
{
    const std::size_t dot = ExtensionStart(path);
    const std::string extension = dot == std::string::npos ? std::string() : Lowered(path.substr(dot));
    if (extension == ".csv")
        return ResultsFormat::Csv;
    if (extension == ".las")
        return ResultsFormat::Las;
    return otherwise;
}

std::string DefaultResultsPath(const std::string& surveyPath, ResultsFormat format)
{
    const std::size_t dot = ExtensionStart(surveyPath);
    const std::string stem = surveyPath.substr(0, dot);
    const bool sameExtension = dot != std::string::npos && Lowered(surveyPath.substr(dot)) == ExtensionOf(format);
    return stem + (sameExtension ? "-results" : "") + ExtensionOf(format);
}

ExportResult WriteResultsFile(const CKestrixDoc& doc, const std::string& path, ResultsFormat format,
                              const SpikeSettings& spikes, textio::Progress* progress)
{
    return WriteExportFile(doc, path, progress, [&](textio::SafeFileWriter& writer, textio::ProgressTicker& rows) {
        return format == ResultsFormat::Csv ? WriteCsv(doc, spikes, writer, rows) : WriteLas(doc, spikes, writer, rows);
    });
}

void WriteDrillersPath(const CKestrixDoc& doc, const std::function<void(std::string_view)>& sink)
{
    std::string text = "depth_m,inclination_from_vertical_deg,grid_azimuth_deg,east_m,north_m,vertical_depth_m,"
                       "dogleg_deg_per_30m\n";
    const double declination = doc.DeclinationInForce();
    for (int i = 0; i < doc.m_nObs; ++i) {
        const Observation& o = doc.m_pObs[i];
        double azimuth = std::fmod(o.AzUsed - declination, 360.0);
        azimuth = azimuth < 0 ? azimuth + 360.0 : azimuth;
        azimuth = azimuth >= 360.0 ? 0.0 : azimuth; // a tiny negative one rounds up to 360
        double severity = 0.0;
        if (i > 0) {
            const Observation& p = doc.m_pObs[i - 1];
            const double length = std::fabs(o.Depth - p.Depth);
            severity = length > 0 ? DoglegDegrees(p.AzUsed, p.CalcIncl, o.AzUsed, o.CalcIncl) * 30.0 / length
                                  : std::nan("");
        }
        for (const double value : {o.Depth, 90.0 - o.CalcIncl, azimuth, o.East, o.North, doc.m_dHeight - o.Height}) {
            textio::AppendShortest(text, value);
            text += ',';
        }
        textio::AppendShortest(text, severity);
        text += '\n';
        if (text.size() > kChunk) {
            sink(text);
            text.clear();
        }
    }
    sink(text);
}

} // namespace survey
