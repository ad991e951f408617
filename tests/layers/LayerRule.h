#pragma once

#include <string>
#include <string_view>
#include <vector>

// The layers' dependency rule, as the source tree spells it.

// The layer a file of the source tree belongs to, from its path relative to
// the top of the tree. Tests, benchmarks and fuzz harnesses belong to the
// layer they exercise. Empty for a file in no layer (a script's helper, a
// file of the build); "?" for a source file whose layer is not known.
std::string LayerOfFile(std::string_view path);

// The layer an include names ("convert/fenwold/CCoords.h" names
// "convert/fenwold"); empty when it names none.
std::string LayerOfInclude(std::string_view include);

// The layers a file of `layer` may include; `forTests` adds the demo survey
// and the harnesses' helpers that tests, benchmarks and fuzzing share.
std::vector<std::string> AllowedIncludes(const std::string& layer, bool forTests);

// Whether `path` is a test, benchmark or fuzz harness.
bool IsTestFile(std::string_view path);

// Whether files of `layer` must stay free of Qt: the cores and batch.
bool IsQtFree(const std::string& layer);
