#pragma once

#include "convert/Collar.h"
#include "convert/CurveMapping.h"
#include "convert/LasPreview.h"
#include "textio/ReadableFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace textio {
class Progress;
} // namespace textio

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
        MappedCurveMissing,
        Cancelled, // the progress asked to stop; `message` is empty
    };

    Status status = Status::Ok;
    std::string message;
    int curveCount = 0;           // curves found in the curve list
    std::int64_t recordCount = 0; // data lines written
    // With a mapping: records left out because a mapped value was the NULL
    // value or not a number, and the LAS line of the first of them.
    bool mapped = false;
    std::int64_t recordsLeftOut = 0;
    std::int64_t firstLeftOutLine = 0;
    // Without a mapping: records written with the NULL value (`nullText`,
    // the ~W section's) in one of their first seven columns.
    std::int64_t nullRecords = 0;
    std::string nullText;
    // Text curves of a LAS 3.0 file, left out (the first few by mnemonic).
    std::vector<std::string> textCurves;
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
    // and the file lacks, values written that were not numbers, records
    // holding the NULL value or left out for it, text curves left out.
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
// `progress`, when given, hears the LAS file's bytes read of all and may stop
// the conversion, which then leaves no file.
ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar,
                             const ConvertLimits& limits = {},
                             textio::ReadFrom from = textio::ReadFrom::AnyFile, textio::Progress* progress = nullptr);

// Converts as above, with the seven curves of `mapping` first, under
// kestrix's names and in metres, gauss and g, then every other curve. A
// record whose mapped value is the NULL value or not a number is left out.
// A curve list without one of the mapping's mnemonics is a failure.
ConvertResult ConvertLasFile(const std::string& lasPath, const std::string& outPath, const Collar& collar,
                             const CurveMapping& mapping, const ConvertLimits& limits = {},
                             textio::ReadFrom from = textio::ReadFrom::AnyFile, textio::Progress* progress = nullptr);

// The curve list of a LAS file, read without converting, with its header
// values and its first `previewRows` records (the file is then read up to
// them, so a file without data fails here). On failure `status` and
// `message` say why, as for a conversion.
struct LasCurvesResult {
    ConvertResult::Status status = ConvertResult::Status::Ok;
    std::string message;
    LasPreview preview;
};
LasCurvesResult ReadLasCurves(const std::string& lasPath, const ConvertLimits& limits = {},
                              textio::ReadFrom from = textio::ReadFrom::AnyFile, std::size_t previewRows = 0);

} // namespace convert
