#include "geomag/BuiltInModels.h"

#include "geomag/CoefficientReaders.h"
#include "geomag/EmbeddedText.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace geomag {

namespace {

Model Load(std::string_view text, std::variant<Model, ReadFault> (*read)(std::istream&), const char* name)
{
    std::istringstream in{std::string(text)};
    auto result = read(in);
    if (auto* fault = std::get_if<ReadFault>(&result)) {
        // The text is the build's own: refusing it is a broken build, which no
        // answer could stand in for.
        std::fprintf(stderr, "The built-in %s coefficients are refused: %s\n", name, FaultText(*fault).c_str());
        std::abort();
    }
    Model model = std::get<Model>(std::move(result));
    model.name = name;
    return model;
}

} // namespace

std::string_view ModelIdText(ModelId id)
{
    return id == ModelId::Wmm2025 ? "wmm2025" : "igrf14";
}

std::optional<ModelId> ModelIdFromText(std::string_view text)
{
    for (const ModelId id : {ModelId::Igrf14, ModelId::Wmm2025})
        if (text == ModelIdText(id))
            return id;
    return std::nullopt;
}

const Model& BuiltInModel(ModelId id)
{
    static const Model igrf = Load(embedded::IgrfCoefficientsText(), ReadIgrfCoefficients, "IGRF-14");
    static const Model wmm = Load(embedded::WmmCoefficientsText(), ReadWmmCoefficients, "WMM2025");
    return id == ModelId::Wmm2025 ? wmm : igrf;
}

} // namespace geomag
