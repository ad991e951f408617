#pragma once

#include "convert/Collar.h"

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

    bool Ok() const { return status == Status::Ok; }
    // A one-line warning naming the missing names, or "" when none is missing.
    std::string Warning() const;
};

// The raw survey file path for a LAS path: the path less its last three
// characters, followed by "txt" ("hole7.las" gives "hole7.txt"; a path of
// fewer than three characters gives "txt").
std::string RawSurveyPathFor(const std::string& lasPath);

// Converts the LAS file at `lasPath` into a raw survey file at `outPath`:
// the collar block from `collar`, one name per curve and one data line per
// complete record. Streams: memory stays within what `limits` allow, however
// long the file or its lines. The LAS file is only read; an output path that
// is the LAS file itself is refused. A file without a curve section, without
// curves or without a data section is a failure, as is one past `limits`.
ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar,
                             const ConvertLimits& limits = {});

} // namespace convert
