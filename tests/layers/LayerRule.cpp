#include "LayerRule.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Each layer as includes spell it, with the layers it may include besides
// itself. Longer spellings first, so that "convert/fenwold" wins over "convert".
// textio, geomag, crs and startup depend on nothing of the project's; startup is
// the Qt programs' own (the start-up check and the one conversion of file
// paths), so every layer that draws with Qt may use it.
struct Layer {
    const char* spelling;
    std::vector<std::string> below;
};

const std::vector<Layer>& Layers()
{
    static const std::vector<Layer> layers{
        {"textio", {}},
        {"geomag", {}},
        {"crs", {}},
        {"startup", {}},
        {"survey", {"crs", "textio", "geomag"}},
        {"convert/fenwold", {"convert", "startup", "survey", "crs", "textio", "geomag"}},
        {"convert", {"crs", "textio", "geomag"}},
        {"views", {"survey", "crs", "startup", "textio", "geomag"}},
        {"app", {"views", "startup", "survey", "crs", "textio", "geomag"}},
        {"batch/plot", {"batch", "views", "startup", "survey", "convert", "crs", "textio", "geomag"}},
        {"batch", {"survey", "convert", "crs", "textio", "geomag"}},
        // The demo survey's generator writes its LAS file with the converter.
        {"examples", {"convert", "textio", "geomag"}},
        {"fuzz", {}}, // the harnesses' helpers
    };
    return layers;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Files under tests/, bench/ and fuzz/ whose layer their folder does not say,
// by path prefix; the first match counts.
const std::vector<std::pair<const char*, const char*>>& TestLayers()
{
    static const std::vector<std::pair<const char*, const char*>> layers{
        {"tests/convert/CCoordsTest", "convert/fenwold"},
        {"tests/convert/FenwoldTest", "convert/fenwold"},
        {"tests/convert/PipelineTest", "batch"}, // kestrix-batch convert, loaded back
        {"tests/convert/ResultsLasTest", "batch"}, // the results LAS file, converted and loaded back
        {"tests/batch/Plot", "batch/plot"},
        {"tests/support/FakeViewServices", "views"},
        {"tests/support/PaintCounter", "views"},
        {"tests/support/", "survey"},
        {"tests/layers/", "textio"}, // this check: the standard library only
        {"bench/convert_", "convert"},
        {"bench/listing_", "views"},
        {"bench/views_", "views"},
        {"bench/WidgetBench", "views"},
        {"bench/quality_", "survey"},
        {"bench/survey_", "survey"},
        {"bench/batch_", "batch"},
        {"bench/edit_", "app"},   // the survey document kestrix edits through
        {"bench/memory_", "app"}, // kestrix run as a child process
        {"fuzz/fuzz_number", "textio"},
        {"fuzz/fuzz_geomag", "geomag"},
        {"fuzz/fuzz_convert", "batch"}, // the converter's output loaded by the survey core
        {"fuzz/", "survey"},
    };
    return layers;
}

} // namespace

bool IsTestFile(std::string_view path)
{
    return StartsWith(path, "tests/") || StartsWith(path, "bench/") || StartsWith(path, "fuzz/");
}

std::string LayerOfInclude(std::string_view include)
{
    for (const Layer& layer : Layers()) {
        const std::string_view spelling = layer.spelling;
        if (StartsWith(include, spelling) && include.size() > spelling.size() && include[spelling.size()] == '/')
            return layer.spelling;
    }
    return {};
}

std::string LayerOfFile(std::string_view path)
{
    for (const auto& [prefix, layer] : TestLayers())
        if (StartsWith(path, prefix))
            return layer;
    if (StartsWith(path, "tests/"))
        return LayerOfInclude(path.substr(6));
    if (IsTestFile(path))
        return "?";
    if (StartsWith(path, "scripts/") || StartsWith(path, "cmake/"))
        return {};
    const std::string layer = LayerOfInclude(path);
    return layer.empty() ? "?" : layer;
}

std::vector<std::string> AllowedIncludes(const std::string& layer, bool forTests)
{
    std::vector<std::string> allowed;
    for (const Layer& known : Layers())
        if (layer == known.spelling) {
            allowed = known.below;
            allowed.push_back(layer);
        }
    if (forTests)
        for (const char* shared : {"examples", "fuzz"})
            if (std::find(allowed.begin(), allowed.end(), shared) == allowed.end())
                allowed.push_back(shared);
    return allowed;
}

bool IsQtFree(const std::string& layer)
{
    static const std::array<const char*, 6> cores{"textio", "geomag", "crs", "survey", "convert", "batch"};
    return std::find(cores.begin(), cores.end(), layer) != cores.end();
}
