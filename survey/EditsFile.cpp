#include "survey/EditsFile.h"

#include "survey/HoleName.h"
#include "survey/KestrixDoc.h"
#include "survey/LineSource.h"
#include "survey/ReadingsAtDepths.h"
#include "textio/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace survey {
namespace {

constexpr const char* kHeaderFault = "the first line must be \"Kestrix edits 1\" or \"Kestrix edits 2\"";
// The tokens of one line before any comment; `count` may exceed what is kept.
struct Tokens {
    std::array<std::string_view, 4> token;
    std::size_t count = 0;
};

Tokens Split(std::string_view line)
{
    line = line.substr(0, line.find('#'));
    Tokens tokens;
    textio::ForEachToken(line, [&](std::string_view token) {
        if (tokens.count < tokens.token.size())
            tokens.token[tokens.count] = token;
        ++tokens.count;
        return true;
    });
    return tokens;
}

// A whole number that is an integer of 32 bits ("3", "3.0" or "3e0").
bool ReadInteger(std::string_view text, std::int32_t& value)
{
    double number = 0;
    if (!textio::ReadWholeNumber(text, number) || !(number >= INT32_MIN && number <= INT32_MAX)
        || number != std::floor(number))
        return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

bool ReadScaled(std::string_view text, std::int32_t& value)
{
    double number = 0;
    if (!textio::ReadWholeNumber(text, number))
        return false;
    const double scaled = std::round(number * kPlotScale);
    if (!(scaled >= INT32_MIN && scaled <= INT32_MAX))
        return false;
    value = static_cast<std::int32_t>(scaled);
    return true;
}

// The site and trajectory lines into `edits`; `seen` marks the keywords
// read, each allowed once. Nothing when the keyword is not one of them.
std::optional<std::optional<std::string>> ReadSiteLine(const Tokens& line, std::int64_t number, SurveyEdits& edits,
                                                       unsigned& seen)
{
    static constexpr std::string_view kKeywords[] = {"crs", "location", "date", "model", "declination", "trajectory"};
    const std::string_view keyword = line.token[0];
    std::size_t which = 0;
    while (which < std::size(kKeywords) && kKeywords[which] != keyword)
        ++which;
    if (which == std::size(kKeywords))
        return std::nullopt;
    if (seen & (1u << which))
        return textio::Format("a second %s line", std::string(keyword).c_str());
    seen |= 1u << which;
    Site& site = edits.site;
    const std::string_view value = line.count == 2 ? line.token[1] : std::string_view();
    if (keyword == "crs") {
        const std::optional<int> code = line.count == 2 ? crs::ParseEpsg(value) : std::nullopt;
        if (!code)
            return "expected crs EPSG:N";
        if (site.location)
            return "a crs line beside a location line";
        site.epsg = code;
    } else if (keyword == "location") {
        Site::Location location;
        if (line.count != 4 || !textio::ReadWholeNumber(line.token[1], location.latitude)
            || !textio::ReadWholeNumber(line.token[2], location.longitude)
            || !textio::ReadWholeNumber(line.token[3], location.convergence)
            || !crs::SiteFromLocalGrid(location.latitude, location.longitude, location.convergence).site)
            return "expected location LATITUDE LONGITUDE CONVERGENCE, in degrees (-90 to 90, -180 to 360, -90 to 90)";
        if (site.epsg)
            return "a location line beside a crs line";
        site.location = location;
    } else if (keyword == "date") {
        site.date = line.count == 2 ? geomag::ParseDate(value) : std::nullopt;
        if (!site.date)
            return "expected date YYYY-MM-DD, a day of the calendar";
    } else if (keyword == "model") {
        const std::optional<geomag::ModelId> model = line.count == 2 ? geomag::ModelIdFromText(value) : std::nullopt;
        if (!model)
            return "expected model igrf14 or model wmm2025";
        site.model = *model;
    } else if (keyword == "declination") {
        double typed = 0;
        if (value == "model") {
            site.declinationFrom = Site::DeclinationFrom::Model;
            edits.declinationLine = number;
        } else if (line.count == 2 && textio::ReadWholeNumber(value, typed) && std::isfinite(typed)) {
            site.declinationFrom = Site::DeclinationFrom::Typed;
            site.typedDeclination = typed;
        } else {
            return "expected declination model, or declination D in degrees";
        }
    } else {
        edits.trajectory = line.count == 2 ? TrajectoryMethodFromText(value) : std::nullopt;
        if (!edits.trajectory)
            return "expected trajectory average-angle or trajectory min-curvature";
    }
    return std::optional<std::string>();
}

// The edits of one line into `edits`; a reason when the line is refused.
std::optional<std::string> ReadEditLine(const Tokens& line, std::int64_t number, SurveyEdits& edits, unsigned& seen)
{
    if (auto site = ReadSiteLine(line, number, edits, seen))
        return *site;
    const std::string_view keyword = line.token[0];
    if (keyword == "delete") {
        SurveyEdits::Deletion deletion{0.0, 1, number};
        if ((line.count != 2 && line.count != 3) || !textio::ReadWholeNumber(line.token[1], deletion.depth)
            || (line.count == 3
                && (!ReadInteger(line.token[2], deletion.occurrence) || deletion.occurrence < 1
                    || deletion.occurrence > CKestrixDoc::kMaxObservations)))
            return "expected delete DEPTH, or delete DEPTH N for the N-th reading at that depth";
        // More deletions than a survey holds readings cannot all apply.
        if (edits.deletions.size() == static_cast<std::size_t>(CKestrixDoc::kMaxObservations))
            return textio::Format("more than %d deletions", CKestrixDoc::kMaxObservations);
        edits.deletions.push_back(deletion);
    } else if (keyword == "control") {
        SurveyEdits::Point point{{0, 0}, number};
        if (line.count != 3 || !ReadScaled(line.token[1], point.point.x) || !ReadScaled(line.token[2], point.point.y))
            return "expected control DEPTH AZIMUTH, in metres and degrees within the plot's range";
        if (edits.controlPoints.size() == static_cast<std::size_t>(CKestrixDoc::kMaxControlPoints))
            return textio::Format("more than %d control points", CKestrixDoc::kMaxControlPoints);
        edits.controlPoints.push_back(point);
    } else if (keyword == "degree") {
        std::int32_t degree = 0;
        if (line.count != 2 || !ReadInteger(line.token[1], degree) || !IsFitDegree(degree))
            return kDegreeUsage;
        if (edits.degree)
            return "a second degree line";
        edits.degree = degree;
    } else if (keyword == "roll") {
        std::int32_t roll = 0;
        if (line.count != 2 || !ReadInteger(line.token[1], roll) || !IsRollAdjustment(roll))
            return kRollUsage;
        if (edits.rollAdjustment)
            return "a second roll line";
        edits.rollAdjustment = roll;
    } else if (keyword == "fit") {
        if (line.count != 2 || line.token[1] != "local")
            return "expected fit local";
        if (edits.fitLocal)
            return "a second fit local line";
        edits.fitLocal = true;
    } else {
        return "expected delete, control, degree, roll, fit local, crs, location, date, model, declination, "
               "trajectory or name";
    }
    return std::nullopt;
}

// The text of a name line ("name TEXT", blanks around TEXT left out), or
// none when `line` is another line. Comments do not apply: a name may hold "#".
std::optional<std::string_view> NameLineText(std::string_view line)
{
    constexpr std::string_view kBlanks = " \t";
    const std::size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string_view::npos)
        return std::nullopt;
    line.remove_prefix(start);
    constexpr std::string_view kKeyword = "name";
    if (!line.starts_with(kKeyword)
        || (line.size() > kKeyword.size() && kBlanks.find(line[kKeyword.size()]) == std::string_view::npos))
        return std::nullopt;
    line.remove_prefix(kKeyword.size());
    const std::size_t first = line.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return std::string_view();
    return line.substr(first, line.find_last_not_of(kBlanks) + 1 - first);
}

// The shortest text that reads back as `value` ("37.411462", "-0.6").
std::string ShortestText(double value)
{
    std::string text;
    textio::AppendShortest(text, value);
    return text;
}

std::string Hundredths(std::int32_t value)
{
    const long long magnitude = std::llabs(static_cast<long long>(value));
    return textio::Format("%s%lld.%02lld", value < 0 ? "-" : "", magnitude / 100, magnitude % 100);
}

} // namespace

std::string EditsFilePath(const std::string& surveyPath)
{
    return surveyPath + ".edits";
}

std::variant<SurveyEdits, EditsFault> ReadEdits(LineSource& source)
{
    SurveyEdits edits;
    std::string line;
    std::int64_t number = 0;
    unsigned seen = 0;
    while (source.NextLine()) {
        ++number;
        line.clear();
        for (std::string_view piece; source.NextPiece(piece);) {
            if (piece.size() > kMaxEditsLine - line.size())
                return EditsFault{number, textio::Format("a line longer than %zu characters", kMaxEditsLine)};
            line.append(piece);
        }
        if (number > 1) {
            if (const std::optional<std::string_view> name = NameLineText(line)) {
                if (edits.holeName)
                    return EditsFault{number, "a second name line"};
                if (std::string problem = HoleNameProblem(*name); !problem.empty())
                    return EditsFault{number, "expected name TEXT: " + problem};
                edits.holeName = std::string(*name);
                edits.holeNameLine = number;
                continue;
            }
        }
        const Tokens tokens = Split(line);
        if (number == 1) {
            if (tokens.count != 3 || tokens.token[0] != "Kestrix" || tokens.token[1] != "edits"
                || (tokens.token[2] != "1" && tokens.token[2] != "2"))
                return EditsFault{1, kHeaderFault};
        } else if (tokens.count > 0) {
            if (auto reason = ReadEditLine(tokens, number, edits, seen))
                return EditsFault{number, std::move(*reason)};
        }
    }
    if (source.Failed())
        return EditsFault{number + 1, "the file cannot be read"};
    if (number == 0)
        return EditsFault{1, kHeaderFault};
    return edits;
}

std::variant<SurveyEdits, EditsFault> ReadEditsFile(const std::string& path, textio::ReadFrom from)
{
    FileLineSource source(path, from);
    if (source.Fault() == textio::OpenFault::NotARegularFile)
        return EditsFault{0, "not a regular file"};
    if (!source.IsOpen())
        return EditsFault{0, "the file cannot be opened"};
    return ReadEdits(source);
}

std::string EditsDepthText(double depth)
{
    std::string text = textio::Format("%.2f", depth);
    double back = 0;
    if (textio::ReadWholeNumber(text, back) && SameDepth(back, depth))
        return text;
    char shortest[64];
    const auto end = std::to_chars(shortest, shortest + sizeof shortest, depth).ptr;
    return std::string(shortest, end);
}

std::string EditsText(const SurveyEdits& edits)
{
    const Site& site = edits.site;
    const bool version1 = site.IsEmpty() && !edits.trajectory && !edits.holeName;
    std::string text = version1 ? "Kestrix edits 1\r\n" : "Kestrix edits 2\r\n";
    for (const SurveyEdits::Deletion& deletion : edits.deletions) {
        text += "delete " + EditsDepthText(deletion.depth);
        if (deletion.occurrence != 1)
            textio::AppendFormat(text, " %d", deletion.occurrence);
        text += "\r\n";
    }
    for (const SurveyEdits::Point& point : edits.controlPoints)
        text += "control " + Hundredths(point.point.x) + " " + Hundredths(point.point.y) + "\r\n";
    if (edits.degree)
        textio::AppendFormat(text, "degree %d\r\n", *edits.degree);
    if (edits.rollAdjustment)
        textio::AppendFormat(text, "roll %d\r\n", *edits.rollAdjustment);
    if (edits.fitLocal)
        text += "fit local\r\n";
    if (site.epsg)
        text += "crs " + crs::FormatEpsg(*site.epsg) + "\r\n";
    if (site.location)
        text += "location " + ShortestText(site.location->latitude) + " " + ShortestText(site.location->longitude)
              + " " + ShortestText(site.location->convergence) + "\r\n";
    if (site.date)
        text += "date " + geomag::ToText(*site.date) + "\r\n";
    if (site.model != geomag::kDefaultModel)
        text += "model " + std::string(geomag::ModelIdText(site.model)) + "\r\n";
    if (site.declinationFrom == Site::DeclinationFrom::Model)
        text += "declination model\r\n";
    else if (site.declinationFrom == Site::DeclinationFrom::Typed)
        text += "declination " + ShortestText(site.typedDeclination) + "\r\n";
    if (edits.trajectory)
        text += "trajectory " + std::string(TrajectoryMethodText(*edits.trajectory)) + "\r\n";
    if (edits.holeName)
        text += "name " + *edits.holeName + "\r\n";
    return text;
}

textio::SafeFileWriter::Status WriteEditsFile(const SurveyEdits& edits, const std::string& path)
{
    textio::SafeFileWriter writer(path);
    if (const auto status = writer.Open(); status != textio::SafeFileWriter::Status::Ok)
        return status;
    writer.Write(EditsText(edits));
    return writer.Commit();
}

std::string EditsFaultText(const std::string& path, const EditsFault& fault)
{
    if (fault.line == 0)
        return path + ": " + fault.reason;
    return textio::Format("%s:%lld: %s", path.c_str(), static_cast<long long>(fault.line), fault.reason.c_str());
}

} // namespace survey
