#include "geomag/Model.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <iterator>

namespace geomag {

bool Covers(const Model& model, double decimalYear)
{
    return decimalYear >= model.validFrom && decimalYear <= model.validTo;
}

Coefficients CoefficientsAt(const Model& model, double decimalYear)
{
    // The last epoch at or before the date; the first for a date before it.
    if (model.epochs.empty() || model.atEpochs.size() != model.epochs.size())
        return {};
    const auto after = std::upper_bound(model.epochs.begin(), model.epochs.end(), decimalYear);
    const std::ptrdiff_t before = std::distance(model.epochs.begin(), after) - 1;
    const auto i = static_cast<std::size_t>(std::max<std::ptrdiff_t>(before, 0));
    const Coefficients& base = model.atEpochs[i];
    const bool last = i + 1 == model.epochs.size();
    // Secular variation in nT a year: the model's own after its last epoch,
    // the change to the next epoch before that.
    Coefficients rate = model.secularVariation;
    if (!last) {
        const double span = model.epochs[i + 1] - model.epochs[i];
        for (std::size_t k = 0; k < kTermCount; ++k) {
            rate.g[k] = (model.atEpochs[i + 1].g[k] - base.g[k]) / span;
            rate.h[k] = (model.atEpochs[i + 1].h[k] - base.h[k]) / span;
        }
    }
    const double years = decimalYear - model.epochs[i];
    Coefficients at;
    for (std::size_t k = 0; k < kTermCount; ++k) {
        at.g[k] = base.g[k] + years * rate.g[k];
        at.h[k] = base.h[k] + years * rate.h[k];
    }
    return at;
}

std::string FixedText(double value, int decimals)
{
    char text[400]; // the longest double in fixed notation, with a few decimals
    const auto result = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("?");
}

std::string ShortestText(double value)
{
    char text[400];
    const auto result = std::to_chars(std::begin(text), std::end(text), value, std::chars_format::fixed);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("?");
}

std::string RangeText(const Model& model)
{
    return model.name + "'s range, " + FixedText(model.validFrom, 1) + " to " + FixedText(model.validTo, 1);
}

} // namespace geomag
