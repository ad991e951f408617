#include "geomag/CoefficientLines.h"
#include "geomag/CoefficientReaders.h"

namespace geomag {

namespace {

using coefficients::Lines;

constexpr std::size_t kMaxEpochs = 100;

// "g/h n m", the epochs, then the secular variation's heading.
bool ReadEpochs(Lines& lines, Model& model)
{
    std::vector<std::string_view> fields;
    do {
        if (!lines.Next(fields))
            return lines.FailAtEnd("no line 'g/h n m' names the epochs");
    } while (fields[0] != "g/h");
    if (fields.size() < 5)
        return lines.Fail("the line 'g/h n m' names no epoch");
    if (fields.size() - 4 > kMaxEpochs)
        return lines.Fail("more than " + std::to_string(kMaxEpochs) + " epochs");
    for (std::size_t i = 3; i + 1 < fields.size(); ++i) {
        double year = 0;
        if (!lines.Epoch(fields[i], year))
            return false;
        if (!model.epochs.empty() && year <= model.epochs.back())
            return lines.Fail("the epochs do not increase at '" + std::string(fields[i]) + "'");
        model.epochs.push_back(year);
    }
    model.atEpochs.resize(model.epochs.size());
    model.validFrom = model.epochs.front();
    model.validTo = model.epochs.back() + 5;
    return true;
}

bool ReadModel(Lines& lines, Model& model)
{
    model.name = "IGRF";
    if (!ReadEpochs(lines, model))
        return false;
    const std::size_t count = model.epochs.size() + 4;
    std::vector<std::string_view> fields;
    coefficients::TermsSeen seen;
    while (lines.Next(fields)) {
        const bool isG = fields[0] == "g";
        if (!isG && fields[0] != "h")
            return lines.Fail("expected a line of g or h, not '" + std::string(fields[0]) + "'");
        if (fields.size() != count)
            return lines.Fail("expected " + std::to_string(count) + " fields, one per epoch and the secular "
                              + "variation, not " + std::to_string(fields.size()));
        int n = 0, m = 0;
        if (!lines.Term(fields[1], fields[2], n, m))
            return false;
        if (!isG && m == 0)
            return lines.Fail("h has no term of order 0");
        if (!seen.Mark(isG ? seen.g : seen.h, n, m))
            return lines.Fail(std::string(fields[0]) + " of " + coefficients::TermText(n, m) + " appears twice");
        const std::size_t k = TermIndex(n, m);
        for (std::size_t e = 0; e <= model.epochs.size(); ++e) {
            double value = 0;
            if (!lines.Coefficient(fields[3 + e], value))
                return false;
            Coefficients& into = e < model.epochs.size() ? model.atEpochs[e] : model.secularVariation;
            (isG ? into.g : into.h)[k] = value;
        }
    }
    model.degree = seen.degree;
    if (lines.Failed() || !seen.Complete(lines))
        return false;
    // With no closing line, a file cut after a whole degree would otherwise
    // read as a smaller model.
    if (seen.degree != kMaxDegree)
        return lines.Fail("the file ends at degree " + std::to_string(seen.degree) + ", before degree "
                              + std::to_string(kMaxDegree),
                          true);
    return true;
}

} // namespace

std::variant<Model, ReadFault> ReadIgrfCoefficients(std::istream& in)
{
    return coefficients::ReadWith(in, ReadModel);
}

} // namespace geomag
