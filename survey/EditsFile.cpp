#include "survey/EditsFile.h"

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

constexpr std::string_view kHeader = "Kestrix edits 1";
constexpr const char* kHeaderFault = "the first line must be \"Kestrix edits 1\"";
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

// The edits of one line into `edits`; a reason when the line is refused.
std::optional<std::string> ReadEditLine(const Tokens& line, std::int64_t number, SurveyEdits& edits)
{
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
        return "expected delete, control, degree, roll or fit local";
    }
    return std::nullopt;
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
    while (source.NextLine()) {
        ++number;
        line.clear();
        for (std::string_view piece; source.NextPiece(piece);) {
            if (piece.size() > kMaxEditsLine - line.size())
                return EditsFault{number, textio::Format("a line longer than %zu characters", kMaxEditsLine)};
            line.append(piece);
        }
        const Tokens tokens = Split(line);
        if (number == 1) {
            if (tokens.count != 3 || tokens.token[0] != "Kestrix" || tokens.token[1] != "edits" || tokens.token[2] != "1")
                return EditsFault{1, kHeaderFault};
        } else if (tokens.count > 0) {
            if (auto reason = ReadEditLine(tokens, number, edits))
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
    std::string text(kHeader);
    text += "\r\n";
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
