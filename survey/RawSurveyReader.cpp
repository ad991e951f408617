// Loading of a raw survey file into a new document.
#include "KestrixDoc.h"

#include "DocumentHost.h"
#include "LineSource.h"
#include "MessageSink.h"
#include "NumberText.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

namespace {

const char* const kInvalidFormat = "Invalid file format";
const char* const kOutOfMemory = "Failed to allocate memory for observations";

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// A collar line: its keyword at the very first character, then a number.
bool ReadCollarLine(std::string_view line, std::string_view keyword, double& value)
{
    if (line.empty() || line[0] == ' ' || line[0] == '\t')
        return false;
    int index = 0;
    bool ok = false;
    textio::ForEachToken(line, [&](std::string_view token) {
        if (index++ == 0) {
            ok = EqualsIgnoringCase(token, keyword);
            return ok;
        }
        ok = textio::ReadNumber(token, value);
        return false;
    });
    return ok && index == 2;
}

bool IsHeaderLine(std::string_view line)
{
    for (const char* name : {"DEPTH", "MagX", "MagY", "MagZ", "AccX", "AccY", "AccZ"}) {
        if (line.find(name) == std::string_view::npos)
            return false;
    }
    return true;
}

// The first seven tokens of a data line, all numbers.
bool ReadDataLine(std::string_view line, Observation& obs)
{
    double* const fields[7] = {&obs.Depth, &obs.MagX, &obs.MagY, &obs.MagZ,
                               &obs.AccX, &obs.AccY, &obs.AccZ};
    int count = 0;
    bool ok = true;
    textio::ForEachToken(line, [&](std::string_view token) {
        ok = textio::ReadNumber(token, *fields[count]);
        ++count;
        return ok && count < 7;
    });
    return ok && count == 7;
}

} // namespace

LoadResult CKestrixDoc::LoadRawSurvey(const std::string& path, LineSource& source, MessageSink& sink)
{
    m_strFilePath = path;
    auto fail = [&](const std::string& text, LoadResult result) {
        sink.ShowMessage(text);
        return result;
    };
    auto readFailed = [&]() {
        return fail(textio::Format("Failed to read\n  %s", path.c_str()), LoadResult::InvalidFormat);
    };

    std::string line;
    if (!source.ReadLine(line) || !EqualsIgnoringCase(line, "Collar coordinates:"))
        return source.Failed() ? readFailed() : fail(kInvalidFormat, LoadResult::InvalidFormat);
    const std::pair<const char*, double*> collar[4] = {
        {"Easting", &m_dEasting}, {"Northing", &m_dNorthing},
        {"Height", &m_dHeight}, {"Declination", &m_dDeclination}};
    for (const auto& [keyword, member] : collar) {
        if (!source.ReadLine(line) || !ReadCollarLine(line, keyword, *member))
            return source.Failed() ? readFailed() : fail(kInvalidFormat, LoadResult::InvalidFormat);
    }
    if (!source.ReadLine(line) || !IsHeaderLine(line))
        return source.Failed() ? readFailed() : fail(kInvalidFormat, LoadResult::InvalidFormat);

    m_nObs = 0;
    m_pObs.reset(new (std::nothrow) Observation[kMaxObservations]());
    if (!m_pObs)
        return fail(kOutOfMemory, LoadResult::OutOfMemory);

    LoadResult result = LoadResult::Loaded;
    while (source.ReadLine(line)) {
        if (m_nObs == kMaxObservations) {
            sink.ShowMessage(textio::Format(
                "The number of observations in the file exceeds the limit of %d.\n"
                "Observations in excess of this have been ignored.",
                kMaxObservations));
            result = LoadResult::LoadedOverLimit;
            break;
        }
        if (!ReadDataLine(line, m_pObs[m_nObs]))
            return fail(kInvalidFormat, LoadResult::InvalidFormat);
        ++m_nObs;
    }
    if (source.Failed())
        return readFailed();

    if (m_nObs == 0) {
        m_pObs.reset();
    } else if (m_nObs < kMaxObservations) {
        if (Observation* exact = new (std::nothrow) Observation[m_nObs]) {
            std::memcpy(exact, m_pObs.get(), sizeof(Observation) * static_cast<std::size_t>(m_nObs));
            m_pObs.reset(exact);
        }
    }

    if (m_pHost)
        m_pHost->OpenPlotWindows();
    Recalculate();
    return result;
}
