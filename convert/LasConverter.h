#pragma once

#include "Collar.h"

#include <cstdint>
#include <string>

// How a conversion ended. On failure `message` says what went wrong, in a
// form fit to show the user, and no raw survey file was left at the output
// path (an earlier file there is untouched).
struct ConvertResult {
    enum class Status { Ok, OpenLasFailed, SameFile, OpenOutputFailed, ReadFailed, WriteFailed };

    Status status = Status::Ok;
    std::string message;
    int curveCount = 0;           // curves found in the curve list
    std::int64_t recordCount = 0; // data lines written

    bool Ok() const { return status == Status::Ok; }
};

// The raw survey file path for a LAS path: the path less its last three
// characters, followed by "txt" ("hole7.las" gives "hole7.txt"; a path of
// fewer than three characters gives "txt").
std::string RawSurveyPathFor(const std::string& lasPath);

// Converts the LAS file at `lasPath` into a raw survey file at `outPath`:
// the collar block from `collar`, one name per curve and one data line per
// complete record. Streams: memory use does not grow with the file. The LAS
// file is only read; an output path that is the LAS file itself is refused.
ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar);
