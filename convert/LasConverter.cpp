#include "convert/LasConverter.h"

#include "convert/LasLineReader.h"
#include "convert/LasScan.h"
#include "convert/RawSurveyText.h"
#include "textio/FileFacts.h"
#include "textio/NumberText.h"
#include "textio/Progress.h"
#include "textio/ReadableFile.h"
#include "textio/SafeFile.h"

#include <cstdio>
#include <filesystem>

namespace convert {

namespace {

// The LAS file, closed when the conversion ends however it ends.
class InputFile {
public:
    InputFile(const std::string& path, textio::ReadFrom from) : m_file(textio::OpenForReading(path, from, m_fault)) {}
    ~InputFile() { Close(); }
    void Close()
    {
        if (m_file)
            std::fclose(m_file);
        m_file = nullptr;
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    std::FILE* get() const { return m_file; }
    textio::OpenFault Fault() const { return m_fault; }

private:
    textio::OpenFault m_fault = textio::OpenFault::None;
    std::FILE* m_file;
};

ConvertResult Failure(ConvertResult::Status status, std::string message)
{
    ConvertResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

// What the LAS file lacked, or the line where it went past a limit.
std::string FormatProblem(ConvertResult::Status status, const std::string& lasPath, std::int64_t line,
                          const ConvertLimits& limits, const LasScan& scan)
{
    using Status = ConvertResult::Status;
    const char* path = lasPath.c_str();
    const long long number = line;
    switch (status) {
    case Status::NoCurveSection:
        return textio::Format("%s: no curve section", path);
    case Status::NoCurves:
        return textio::Format("%s: no curves in the curve section", path);
    case Status::NoDataSection:
        return textio::Format("%s: no data section", path);
    case Status::NameTooLong:
        return textio::Format("%s:%lld: a curve name longer than %zu characters", path, number, limits.longestText);
    case Status::ValueTooLong:
        return textio::Format("%s:%lld: a data value longer than %zu characters", path, number, limits.longestText);
    case Status::TooManyCurves:
        return textio::Format("%s:%lld: more than %d curves", path, number, limits.mostCurves);
    case Status::MappedCurveMissing: {
        std::string curves;
        for (const std::string& curve : scan.UnmatchedCurves())
            curves += (curves.empty() ? "" : ", ") + curve;
        return textio::Format("%s: the curve list has no curve for %s", path, curves.c_str());
    }
    default:
        return textio::Format("%s: cannot be converted", path);
    }
}

} // namespace

std::vector<std::string> ConvertResult::Warnings() const
{
    std::vector<std::string> warnings;
    if (!missingNames.empty()) {
        std::string names;
        for (const std::string& name : missingNames)
            names += (names.empty() ? "" : ", ") + name;
        warnings.push_back("Warning: the curve names lack " + names + "; kestrix will not open the file");
    }
    if (notNumbers > 0) {
        warnings.push_back(textio::Format(
            "Warning: %lld values were not numbers and were written as their leading number or 0 (first at line %lld)",
            static_cast<long long>(notNumbers), static_cast<long long>(firstNotNumberLine)));
    }
    if (nullRecords > 0) {
        warnings.push_back(textio::Format("Warning: %lld rows hold the NULL value %s in their first seven columns, "
                                          "which kestrix reads as a reading",
                                          static_cast<long long>(nullRecords), nullText.c_str()));
    }
    if (recordsLeftOut > 0) {
        warnings.push_back(textio::Format("Warning: %lld rows were left out: a mapped value was the NULL value or not "
                                          "a number (first at line %lld)",
                                          static_cast<long long>(recordsLeftOut),
                                          static_cast<long long>(firstLeftOutLine)));
    }
    if (!textCurves.empty()) {
        std::string names;
        for (const std::string& name : textCurves)
            names += (names.empty() ? "" : ", ") + name;
        warnings.push_back("Warning: text curves were left out: " + names);
    }
    return warnings;
}

std::string RawSurveyPathFor(const std::string& lasPath)
{
    return std::filesystem::path(lasPath).replace_extension(".txt").string();
}

namespace {

std::optional<ConvertResult> OpenFailure(const InputFile& las, const std::string& lasPath)
{
    if (las.Fault() == textio::OpenFault::NotARegularFile)
        return Failure(ConvertResult::Status::OpenLasFailed,
                       textio::Format("Failed to open\n  %s\nIt is not a regular file.", lasPath.c_str()));
    if (!las.get())
        return Failure(ConvertResult::Status::OpenLasFailed, textio::Format("Failed to open\n  %s", lasPath.c_str()));
    return std::nullopt;
}

// How far into the LAS file reading has come; 0 when it cannot be told (a pipe).
std::uint64_t BytesRead(std::FILE* file)
{
    const long position = std::ftell(file);
    return position > 0 ? static_cast<std::uint64_t>(position) : 0;
}

ConvertResult Convert(const std::string& lasPath, const std::string& outPath, const Collar& collar,
                      const CurveMapping* mapping, const ConvertLimits& limits, textio::ReadFrom from,
                      textio::Progress* progress)
{
    using Status = ConvertResult::Status;
    InputFile las(lasPath, from);
    const std::optional<textio::FileFacts> lasFacts = textio::FactsOf(las.get());
    if (las.Fault() == textio::OpenFault::NotARegularFile)
        return Failure(Status::OpenLasFailed,
                       textio::Format("Failed to open\n  %s\nIt is not a regular file.", lasPath.c_str()));
    if (!lasFacts)
        return Failure(Status::OpenLasFailed, textio::Format("Failed to open\n  %s", lasPath.c_str()));

    // Writing over the LAS file (under any of its names) would destroy it.
    const std::optional<textio::FileFacts> outFacts = textio::FactsOf(outPath);
    if (outFacts && outFacts->IsSameFileAs(*lasFacts)) {
        return Failure(Status::SameFile,
                       textio::Format("The raw survey file would replace the LAS file\n  %s", lasPath.c_str()));
    }

    textio::SafeFileWriter out(outPath);
    if (const textio::SafeFileWriter::Status opened = out.Open(); opened != textio::SafeFileWriter::Status::Ok)
        return Failure(Status::OpenOutputFailed, textio::WriteFailureMessage(opened, outPath));
    out.Write(convert::CollarBlockText(collar));

    convert::LasLineReader reader(las.get());
    convert::LasScan scan(&out, limits, mapping);
    convert::LinePiece piece;
    textio::ProgressTicker ticker(progress);
    while (reader.Next(piece)) {
        if (ticker.Due() && !ticker.Report(BytesRead(las.get()), lasFacts->size))
            return Failure(Status::Cancelled, std::string()); // the writer removes its temporary file
        const Status status = scan.Take(piece);
        if (status != Status::Ok)
            return Failure(status, FormatProblem(status, lasPath, reader.LineNumber(), limits, scan));
    }
    if (reader.Failed())
        return Failure(Status::ReadFailed, textio::Format("Failed to read\n  %s", lasPath.c_str()));
    const Status ending = scan.Finish();
    if (ending != Status::Ok)
        return Failure(ending, FormatProblem(ending, lasPath, reader.LineNumber(), limits, scan));
    // The LAS file is closed first, then the output.
    las.Close();

    if (const textio::SafeFileWriter::Status committed = out.Commit(); committed != textio::SafeFileWriter::Status::Ok)
        return Failure(Status::WriteFailed, textio::WriteFailureMessage(committed, outPath));
    ConvertResult result;
    result.curveCount = scan.CurveCount();
    result.recordCount = scan.RecordCount();
    result.missingNames = scan.MissingNames();
    result.notNumbers = scan.Records().NotNumbers();
    result.firstNotNumberLine = scan.Records().FirstNotNumberLine();
    result.mapped = mapping != nullptr;
    result.recordsLeftOut = scan.Records().LeftOut();
    result.firstLeftOutLine = scan.Records().FirstLeftOutLine();
    result.nullRecords = scan.Records().NullRecords();
    result.nullText = scan.Null().text;
    result.textCurves = scan.TextCurves();
    return result;
}

} // namespace

ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar,
                             const ConvertLimits& limits, textio::ReadFrom from, textio::Progress* progress)
{
    return Convert(lasPath, outPath, collar, nullptr, limits, from, progress);
}

ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar,
                             const CurveMapping& mapping, const ConvertLimits& limits, textio::ReadFrom from,
                             textio::Progress* progress)
{
    return Convert(lasPath, outPath, collar, &mapping, limits, from, progress);
}

LasCurvesResult ReadLasCurves(const std::string& lasPath, const ConvertLimits& limits, textio::ReadFrom from,
                              std::size_t previewRows)
{
    using Status = ConvertResult::Status;
    LasCurvesResult result;
    InputFile las(lasPath, from);
    if (const std::optional<ConvertResult> failed = OpenFailure(las, lasPath)) {
        result.status = failed->status;
        result.message = failed->message;
        return result;
    }
    convert::LasLineReader reader(las.get());
    convert::LasScan scan(nullptr, limits, nullptr, &result.preview, previewRows);
    convert::LinePiece piece;
    Status status = Status::Ok;
    auto read = [&] { return scan.CurvesRead() && (previewRows == 0 || scan.RecordCount() >= std::int64_t(previewRows)); };
    bool ended = false;
    while (status == Status::Ok && !read() && !(ended = !reader.Next(piece)))
        status = scan.Take(piece);
    if (status == Status::Ok && reader.Failed())
        return {Status::ReadFailed, textio::Format("Failed to read\n  %s", lasPath.c_str()), {}};
    if (status == Status::Ok && ended)
        status = scan.Finish();
    if (status == Status::Ok && scan.CurveCount() == 0)
        status = Status::NoCurves;
    if (status != Status::Ok)
        return {status, FormatProblem(status, lasPath, reader.LineNumber(), limits, scan), {}};
    return result;
}

} // namespace convert
