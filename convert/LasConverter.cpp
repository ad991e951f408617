#include "LasConverter.h"

#include "LasLineReader.h"
#include "NumberText.h"
#include "RawSurveyText.h"
#include "SafeFile.h"

#include <cstdio>
#include <string_view>
#include <sys/stat.h>

namespace {

using convert::LasLineReader;

// Where the scan of a LAS file stands; it only ever moves forwards.
enum class ScanState { SeekingCurves, InCurveList, SeekingData, InData };

// The first character that is not a blank or tab, or 0 for a blank line.
char FirstNonBlank(std::string_view line)
{
    for (char c : line) {
        if (c != ' ' && c != '\t')
            return c;
    }
    return '\0';
}

// A line that starts the curve list: one naming "CURVE INFORMATION", or any
// "~C" section line (LAS names a section by its first letter).
bool StartsCurveList(std::string_view line)
{
    if (line.find("CURVE INFORMATION") != std::string_view::npos)
        return true;
    const std::size_t tilde = line.find_first_not_of(" \t");
    return tilde != std::string_view::npos && line[tilde] == '~' && tilde + 1 < line.size()
        && (line[tilde + 1] == 'C' || line[tilde + 1] == 'c');
}

// A curve's name: everything after the first ":" of its line.
std::string_view CurveName(std::string_view line)
{
    const std::size_t colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
}

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

// Gathers the values of data records and writes each complete one.
class RecordWriter {
public:
    explicit RecordWriter(textio::SafeFileWriter& out) : m_out(out) {}

    void SetCurveCount(int curveCount) { m_curveCount = curveCount; }

    // Takes the tokens of one data line; tokens after the one that completes
    // a record are dropped.
    void TakeLine(std::string_view line)
    {
        textio::ForEachToken(line, [this](std::string_view token) {
            if (m_values > 0)
                m_record.push_back(' ');
            convert::AppendTokenField(m_record, token);
            if (++m_values < m_curveCount)
                return true;
            m_record.append("\r\n");
            m_out.Write(m_record);
            m_record.clear();
            m_values = 0;
            ++m_written;
            return false;
        });
    }

    std::int64_t Written() const { return m_written; }

private:
    textio::SafeFileWriter& m_out;
    int m_curveCount = 0;
    int m_values = 0;
    std::string m_record; // the record being gathered, already formatted
    std::int64_t m_written = 0;
};

} // namespace

std::string RawSurveyPathFor(const std::string& lasPath)
{
    if (lasPath.size() < 3)
        return "txt";
    return lasPath.substr(0, lasPath.size() - 3) + "txt";
}

ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar)
{
    using Status = ConvertResult::Status;
    InputFile las(lasPath);
    struct stat lasInfo {};
    if (!las.get() || fstat(fileno(las.get()), &lasInfo) != 0 || S_ISDIR(lasInfo.st_mode))
        return Failure(Status::OpenLasFailed, textio::Format("Failed to open\n  %s", lasPath.c_str()));

    // Writing over the LAS file (under any of its names) would destroy it.
    struct stat outInfo {};
    if (stat(outPath.c_str(), &outInfo) == 0 && outInfo.st_dev == lasInfo.st_dev
        && outInfo.st_ino == lasInfo.st_ino) {
        return Failure(Status::SameFile,
                       textio::Format("The raw survey file would replace the LAS file\n  %s", lasPath.c_str()));
    }

    textio::SafeFileWriter out(outPath);
    if (out.Open() != textio::SafeFileWriter::Status::Ok) {
        return Failure(Status::OpenOutputFailed,
                       textio::Format("Failed to open\n  %s\nfor writing", outPath.c_str()));
    }
    out.Write(convert::CollarBlockText(collar));

    ConvertResult result;
    LasLineReader reader(las.get());
    ScanState state = ScanState::SeekingCurves;
    std::string namesLine;
    RecordWriter records(out);
    std::string_view line;
    while (reader.Next(line)) {
        switch (state) {
        case ScanState::SeekingCurves:
            if (StartsCurveList(line))
                state = ScanState::InCurveList;
            break;
        case ScanState::InCurveList: {
            const char first = FirstNonBlank(line);
            if (first == '#' || first == '\0')
                break;
            if (first != '~') {
                if (result.curveCount > 0)
                    namesLine.push_back(' ');
                convert::AppendNameField(namesLine, CurveName(line));
                ++result.curveCount;
                // Names go out as they come, so that a long curve list needs
                // no more memory than one line.
                out.Write(namesLine);
                namesLine.clear();
                break;
            }
            if (result.curveCount > 0)
                out.Write("\r\n");
            records.SetCurveCount(result.curveCount);
            state = ScanState::SeekingData;
            // The section line that ends the list may itself be the data marker.
            [[fallthrough]];
        }
        case ScanState::SeekingData:
            if (line.find("~A") != std::string_view::npos)
                state = ScanState::InData;
            break;
        case ScanState::InData:
            if (result.curveCount > 0 && FirstNonBlank(line) != '#')
                records.TakeLine(line);
            break;
        }
    }
    if (reader.Failed())
        return Failure(Status::ReadFailed, textio::Format("Failed to read\n  %s", lasPath.c_str()));
    if (state == ScanState::InCurveList && result.curveCount > 0)
        out.Write("\r\n");
    // An incomplete last record is dropped. The LAS file is closed first, then the output.
    las.Close();

    if (out.Commit() != textio::SafeFileWriter::Status::Ok)
        return Failure(Status::WriteFailed, textio::Format("Failed to write\n  %s", outPath.c_str()));
    result.recordCount = records.Written();
    return result;
}
