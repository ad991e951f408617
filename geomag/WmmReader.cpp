#include "geomag/CoefficientLines.h"
#include "geomag/CoefficientReaders.h"

namespace geomag {

namespace {

using coefficients::Lines;

bool ReadModel(Lines& lines, Model& model)
{
    std::vector<std::string_view> fields;
    double epoch = 0;
    if (!lines.Next(fields))
        return lines.FailAtEnd("the file is empty");
    if (!lines.Epoch(fields[0], epoch))
        return false;
    model.name = fields.size() > 1 ? std::string(fields[1]) : "WMM";
    model.epochs = {epoch};
    model.atEpochs.resize(1);
    model.validFrom = epoch;
    model.validTo = epoch + 5;

    coefficients::TermsSeen seen;
    while (lines.Next(fields)) {
        if (fields[0].starts_with("9999")) {
            model.degree = seen.degree;
            return seen.Complete(lines);
        }
        if (fields.size() != 6)
            return lines.Fail("expected six fields, n m g h and the yearly changes of g and h, not "
                              + std::to_string(fields.size()));
        int n = 0, m = 0;
        double values[4];
        if (!lines.Term(fields[0], fields[1], n, m))
            return false;
        for (int k = 0; k < 4; ++k)
            if (!lines.Coefficient(fields[2 + k], values[k]))
                return false;
        if (!seen.Mark(seen.g, n, m) || !seen.Mark(seen.h, n, m))
            return lines.Fail(coefficients::TermText(n, m) + " appears twice");
        const std::size_t k = TermIndex(n, m);
        // h of order 0 multiplies sin 0; the file holds 0 there.
        model.atEpochs[0].g[k] = values[0];
        model.atEpochs[0].h[k] = m > 0 ? values[1] : 0.0;
        model.secularVariation.g[k] = values[2];
        model.secularVariation.h[k] = m > 0 ? values[3] : 0.0;
    }
    return lines.FailAtEnd("the file ends before its closing line of 9s");
}

} // namespace

std::variant<Model, ReadFault> ReadWmmCoefficients(std::istream& in)
{
    return coefficients::ReadWith(in, ReadModel);
}

} // namespace geomag
