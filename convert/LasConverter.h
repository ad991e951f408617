#pragma once

#include "convert/Collar.h"
#include "textio/ReadableFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace convert {

// Bounds that keep a conversion's memory small whatever the LAS file holds;
// a file that goes past one cannot be converted.
struct ConvertLimits {
    std::size_t longestText = std::size_t{1} << 20; // characters of one curve name or one data value
    int mostCurves = 10000;
};

// How a conversion ended. On failure `message` says what went wrong, in a
// form fit to show the user, and no raw survey file was left at the output
// path (an earlier file there is untouched).
struct ConvertResult {
    enum class Status {
        Ok,
        OpenLasFailed,
        SameFile,
        OpenOutputFailed,
        ReadFailed,
        WriteFailed,
        NoCurveSection,
        NoCurves,
        NoDataSection,
        NameTooLong,
        ValueTooLong,
        TooManyCurves,
    };

    Status status = Status::Ok;
    std::string message;
    int curveCount = 0;           // curves found in the curve list
    std::int64_t recordCount = 0; // data lines written
    // Of the names kestrix looks for in the curve names line (DEPTH, MagX,
    // MagY, MagZ, AccX, AccY, AccZ), those that no curve name holds.
    std::vector<std::string> missingNames;
    // Data values that were not wholly a finite number ("abc", "1,5", "NaN",
    // "1e999"), written as their leading number or 0, and the LAS line of the
    // first of them (0 when none).
    std::int64_t notNumbers = 0;
    std::int64_t firstNotNumberLine = 0;

    bool Ok() const { return status == Status::Ok; }
    // One line per warning the user must see: curve names that kestrix needs
    // and the file lacks, values written that were not numbers.
    std::vector<std::string> Warnings() const;
};

// The raw survey file path for a LAS path, in the LAS file's folder: its
// extension replaced by ".txt" ("hole7.las" gives "hole7.txt"), or ".txt"
// appended when it has none ("d/xy" gives "d/xy.txt").
std::string RawSurveyPathFor(const std::string& lasPath);

// Converts the LAS file at `lasPath` into a raw survey file at `outPath`:
// the collar block from `collar`, one name per curve and one data line per
// complete record. Streams: memory stays within what `limits` allow, however
// long the file or its lines. The LAS file is only read; an output path that
// is the LAS file itself is refused. A file without a curve section, without
// curves or without a data section is a failure, as is one past `limits`.
// `from` says which LAS files are taken (textio/ReadableFile.h).
ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar,
                             const ConvertLimits& limits = {},
                             textio::ReadFrom from = textio::ReadFrom::AnyFile);

} // namespace convert
