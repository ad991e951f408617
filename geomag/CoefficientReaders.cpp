#include "geomag/CoefficientReaders.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace geomag {

namespace {

constexpr std::size_t kMaxLine = 1000;
constexpr double kMaxCoefficient = 1e6; // nT; the largest real one is near 3e4
constexpr std::size_t kMaxEpochs = 100;
// Epochs are years of four digits, so a model's range prints as one.
constexpr double kEarliestEpoch = 1000;
constexpr double kLatestEpoch = 3000;

// The input's lines, numbered from 1, without their line endings.
class Lines {
public:
    explicit Lines(std::istream& in) : in_(in) {}

    // False at the end of the input.
    bool Next()
    {
        line_.clear();
        tooLong_ = false;
        bool any = false;
        char c = 0;
        while (in_.get(c)) {
            any = true;
            if (c == '\n')
                break;
            if (line_.size() < kMaxLine + 1)
                line_.push_back(c);
            else
                tooLong_ = true;
        }
        if (!any)
            return false;
        ++number_;
        if (!line_.empty() && line_.back() == '\r')
            line_.pop_back();
        tooLong_ = tooLong_ || line_.size() > kMaxLine;
        return true;
    }

    const std::string& Text() const { return line_; }
    bool TooLong() const { return tooLong_; }
    std::int64_t Number() const { return number_; }

private:
    std::istream& in_;
    std::string line_;
    bool tooLong_ = false;
    std::int64_t number_ = 0;
};

std::vector<std::string_view> Tokens(std::string_view line)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r", i);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
        tokens.push_back(line.substr(start, end - start));
        i = end;
    }
    return tokens;
}

bool ReadInt(std::string_view token, int& value)
{
    const char* end = token.data() + token.size();
    const auto result = std::from_chars(token.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool ReadDouble(std::string_view token, double& value)
{
    const char* end = token.data() + token.size();
    const auto result = std::from_chars(token.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

// A reader's position and its first fault.
struct Reading {
    Lines lines;
    std::string fault;
    std::int64_t faultLine = 0;

    bool Fail(std::string reason, bool wholeFile = false)
    {
        fault = std::move(reason);
        faultLine = wholeFile ? 0 : lines.Number();
        return false;
    }

    // The next line that is not blank, split; false at the end of the input
    // or at a line too long, which is a fault.
    bool NextTokens(std::vector<std::string_view>& tokens)
    {
        while (lines.Next()) {
            if (lines.TooLong())
                return Fail("the line is longer than " + std::to_string(kMaxLine) + " characters");
            tokens = Tokens(lines.Text());
            if (!tokens.empty())
                return true;
        }
        return false;
    }

    bool Coefficient(std::string_view token, double& value)
    {
        if (!ReadDouble(token, value))
            return Fail("'" + std::string(token) + "' is not a number");
        if (std::fabs(value) > kMaxCoefficient)
            return Fail("'" + std::string(token) + "' is beyond the largest coefficient, 1e6 nT");
        return true;
    }

    bool Epoch(std::string_view token, double& year)
    {
        if (!ReadDouble(token, year) || year < kEarliestEpoch || year > kLatestEpoch)
            return Fail("'" + std::string(token) + "' is not an epoch, a year from 1000 to 3000");
        return true;
    }

    bool Term(std::string_view degree, std::string_view order, int& n, int& m)
    {
        if (!ReadInt(degree, n) || n < 1 || n > kMaxDegree)
            return Fail("the degree '" + std::string(degree) + "' is not a whole number from 1 to "
                        + std::to_string(kMaxDegree));
        if (!ReadInt(order, m) || m < 0 || m > n)
            return Fail("the order '" + std::string(order) + "' is not a whole number from 0 to " + std::to_string(n));
        return true;
    }
};

// Which coefficients were read, so that none is missing or read twice.
struct Seen {
    std::array<bool, kTermCount> g{};
    std::array<bool, kTermCount> h{};
    int degree = 0;

    // False when the term was read before.
    bool Mark(std::array<bool, kTermCount>& terms, int n, int m)
    {
        degree = std::max(degree, n);
        return !std::exchange(terms[TermIndex(n, m)], true);
    }

    bool Complete(Reading& reading) const
    {
        if (degree == 0)
            return reading.Fail("the file holds no coefficients", true);
        for (int n = 1; n <= degree; ++n)
            for (int m = 0; m <= n; ++m)
                if (!g[TermIndex(n, m)] || (m > 0 && !h[TermIndex(n, m)]))
                    return reading.Fail("degree " + std::to_string(n) + ", order " + std::to_string(m) + " is missing",
                                        true);
        return true;
    }
};

std::string TermText(int n, int m)
{
    return "degree " + std::to_string(n) + ", order " + std::to_string(m);
}

bool ReadWmm(Reading& reading, Model& model)
{
    std::vector<std::string_view> tokens;
    double epoch = 0;
    if (!reading.NextTokens(tokens))
        return reading.fault.empty() ? reading.Fail("the file is empty", true) : false;
    if (!reading.Epoch(tokens[0], epoch))
        return false;
    model.name = tokens.size() > 1 ? std::string(tokens[1]) : "WMM";
    model.epochs = {epoch};
    model.atEpochs.resize(1);
    model.validFrom = epoch;
    model.validTo = epoch + 5;

    Seen seen;
    while (reading.NextTokens(tokens)) {
        if (tokens[0].starts_with("9999")) {
            model.degree = seen.degree;
            return seen.Complete(reading);
        }
        if (tokens.size() != 6)
            return reading.Fail("expected six fields, n m g h and the yearly changes of g and h, not "
                                + std::to_string(tokens.size()));
        int n = 0, m = 0;
        double values[4];
        if (!reading.Term(tokens[0], tokens[1], n, m))
            return false;
        for (int k = 0; k < 4; ++k)
            if (!reading.Coefficient(tokens[2 + k], values[k]))
                return false;
        if (!seen.Mark(seen.g, n, m) || !seen.Mark(seen.h, n, m))
            return reading.Fail(TermText(n, m) + " appears twice");
        const std::size_t k = TermIndex(n, m);
        // h of order 0 multiplies sin 0; the file holds 0 there.
        model.atEpochs[0].g[k] = values[0];
        model.atEpochs[0].h[k] = m > 0 ? values[1] : 0.0;
        model.secularVariation.g[k] = values[2];
        model.secularVariation.h[k] = m > 0 ? values[3] : 0.0;
    }
    return reading.fault.empty() ? reading.Fail("the file ends before its closing line of 9s", true) : false;
}

bool ReadIgrf(Reading& reading, Model& model)
{
    std::vector<std::string_view> tokens;
    do {
        if (!reading.NextTokens(tokens))
            return reading.fault.empty() ? reading.Fail("no line 'g/h n m' names the epochs", true) : false;
    } while (tokens[0] != "g/h");
    // "g/h n m", the epochs, then the secular variation's heading.
    if (tokens.size() < 5)
        return reading.Fail("the line 'g/h n m' names no epoch");
    if (tokens.size() - 4 > kMaxEpochs)
        return reading.Fail("more than " + std::to_string(kMaxEpochs) + " epochs");
    for (std::size_t i = 3; i + 1 < tokens.size(); ++i) {
        double year = 0;
        if (!reading.Epoch(tokens[i], year))
            return false;
        if (!model.epochs.empty() && year <= model.epochs.back())
            return reading.Fail("the epochs do not increase at '" + std::string(tokens[i]) + "'");
        model.epochs.push_back(year);
    }
    model.name = "IGRF";
    model.atEpochs.resize(model.epochs.size());
    model.validFrom = model.epochs.front();
    model.validTo = model.epochs.back() + 5;

    const std::size_t fields = model.epochs.size() + 4;
    Seen seen;
    while (reading.NextTokens(tokens)) {
        const bool isG = tokens[0] == "g";
        if (!isG && tokens[0] != "h")
            return reading.Fail("expected a line of g or h, not '" + std::string(tokens[0]) + "'");
        if (tokens.size() != fields)
            return reading.Fail("expected " + std::to_string(fields) + " fields, one per epoch and the secular "
                                + "variation, not " + std::to_string(tokens.size()));
        int n = 0, m = 0;
        if (!reading.Term(tokens[1], tokens[2], n, m))
            return false;
        if (!isG && m == 0)
            return reading.Fail("h has no term of order 0");
        if (!seen.Mark(isG ? seen.g : seen.h, n, m))
            return reading.Fail(std::string(tokens[0]) + " of " + TermText(n, m) + " appears twice");
        const std::size_t k = TermIndex(n, m);
        for (std::size_t e = 0; e <= model.epochs.size(); ++e) {
            double value = 0;
            if (!reading.Coefficient(tokens[3 + e], value))
                return false;
            Coefficients& into = e < model.epochs.size() ? model.atEpochs[e] : model.secularVariation;
            (isG ? into.g : into.h)[k] = value;
        }
    }
    model.degree = seen.degree;
    if (!reading.fault.empty() || !seen.Complete(reading))
        return false;
    // With no closing line, a file cut after a whole degree would otherwise
    // read as a smaller model.
    if (seen.degree != kMaxDegree)
        return reading.Fail("the file ends at degree " + std::to_string(seen.degree) + ", before degree "
                                + std::to_string(kMaxDegree),
                            true);
    return true;
}

std::variant<Model, ReadFault> Read(std::istream& in, bool (*read)(Reading&, Model&))
{
    Reading reading{Lines(in), {}, 0};
    Model model;
    if (!read(reading, model))
        return ReadFault{reading.faultLine, reading.fault};
    return model;
}

} // namespace

std::string FaultText(const ReadFault& fault)
{
    return fault.line > 0 ? "line " + std::to_string(fault.line) + ": " + fault.reason : fault.reason;
}

std::variant<Model, ReadFault> ReadWmmCoefficients(std::istream& in)
{
    return Read(in, ReadWmm);
}

std::variant<Model, ReadFault> ReadIgrfCoefficients(std::istream& in)
{
    return Read(in, ReadIgrf);
}

} // namespace geomag
