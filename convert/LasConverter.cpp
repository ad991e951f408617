#include "convert/LasConverter.h"

#include "convert/LasLineReader.h"
#include "convert/LasScan.h"
#include "convert/RawSurveyText.h"
#include "textio/FileFacts.h"
#include "textio/NumberText.h"
#include "textio/SafeFile.h"

#include <cstdio>

namespace convert {

namespace {

// The LAS file, closed when the conversion ends however it ends.
class InputFile {
public:
    explicit InputFile(const std::string& path) : m_file(std::fopen(path.c_str(), "rb")) {}
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

private:
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
                          const ConvertLimits& limits)
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
    default:
        return textio::Format("%s: cannot be converted", path);
    }
}

} // namespace

std::string ConvertResult::Warning() const
{
    if (missingNames.empty())
        return std::string();
    std::string names;
    for (const std::string& name : missingNames)
        names += (names.empty() ? "" : ", ") + name;
    return "Warning: the curve names lack " + names + "; kestrix will not open the file";
}

std::string RawSurveyPathFor(const std::string& lasPath)
{
    if (lasPath.size() < 3)
        return "txt";
    return lasPath.substr(0, lasPath.size() - 3) + "txt";
}

ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar,
                             const ConvertLimits& limits)
{
    using Status = ConvertResult::Status;
    InputFile las(lasPath);
    const std::optional<textio::FileFacts> lasFacts = textio::FactsOf(las.get());
    if (!lasFacts || lasFacts->folder)
        return Failure(Status::OpenLasFailed, textio::Format("Failed to open\n  %s", lasPath.c_str()));

    // Writing over the LAS file (under any of its names) would destroy it.
    const std::optional<textio::FileFacts> outFacts = textio::FactsOf(outPath);
    if (outFacts && outFacts->IsSameFileAs(*lasFacts)) {
        return Failure(Status::SameFile,
                       textio::Format("The raw survey file would replace the LAS file\n  %s", lasPath.c_str()));
    }

    textio::SafeFileWriter out(outPath);
    if (out.Open() != textio::SafeFileWriter::Status::Ok) {
        return Failure(Status::OpenOutputFailed,
                       textio::Format("Failed to open\n  %s\nfor writing", outPath.c_str()));
    }
    out.Write(convert::CollarBlockText(collar));

    convert::LasLineReader reader(las.get());
    convert::LasScan scan(out, limits);
    convert::LinePiece piece;
    while (reader.Next(piece)) {
        const Status status = scan.Take(piece);
        if (status != Status::Ok)
            return Failure(status, FormatProblem(status, lasPath, reader.LineNumber(), limits));
    }
    if (reader.Failed())
        return Failure(Status::ReadFailed, textio::Format("Failed to read\n  %s", lasPath.c_str()));
    const Status ending = scan.Finish();
    if (ending != Status::Ok)
        return Failure(ending, FormatProblem(ending, lasPath, reader.LineNumber(), limits));
    // The LAS file is closed first, then the output.
    las.Close();

    if (out.Commit() != textio::SafeFileWriter::Status::Ok)
        return Failure(Status::WriteFailed, textio::Format("Failed to write\n  %s", outPath.c_str()));
    ConvertResult result;
    result.curveCount = scan.CurveCount();
    result.recordCount = scan.RecordCount();
    result.missingNames = scan.MissingNames();
    return result;
}

} // namespace convert
