// Both coefficient readers on arbitrary bytes: a refusal names a line of the
// text (or none), and a model that is read gives a finite field at either end
// of its range, at the poles and the equator.
#include "geomag/CoefficientReaders.h"
#include "geomag/Field.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace geomag;

namespace {

bool Finite(const MagneticField& f)
{
    return std::isfinite(f.northNt) && std::isfinite(f.eastNt) && std::isfinite(f.downNt) && std::isfinite(f.totalNt)
        && std::isfinite(f.declinationDegrees) && std::isfinite(f.inclinationDegrees);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto lines = static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const auto read : {ReadWmmCoefficients, ReadIgrfCoefficients}) {
        std::istringstream in(text);
        const auto result = read(in);
        if (const auto* fault = std::get_if<ReadFault>(&result)) {
            if (fault->line < 0 || fault->line > lines || fault->reason.empty())
                std::abort();
            continue;
        }
        const Model& model = std::get<Model>(result);
        if (model.degree < 1 || model.degree > kMaxDegree || !(model.validFrom < model.validTo))
            std::abort();
        for (const double year : {model.validFrom, model.validTo})
            for (const GeodeticPosition at : {GeodeticPosition{90, 0, 0}, GeodeticPosition{-90, 45, kLowestHeightMetres},
                                              GeodeticPosition{0, -170, kHighestHeightMetres}}) {
                const auto field = ComputeField(model, at, year);
                if (!std::holds_alternative<MagneticField>(field) || !Finite(std::get<MagneticField>(field)))
                    std::abort();
            }
    }
    return 0;
}
