// The number reader against the C library's "%lf" conversion: they must agree
// on every token, in success and in the exact value. The survey reader's
// stricter form takes exactly the finite numbers not followed by a decimal
// comma or a second decimal point.
#include "textio/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string token(reinterpret_cast<const char*>(data), size);
    // A token never holds a blank, tab, line feed or NUL.
    const auto cut = token.find_first_of(std::string(" \t\n\0", 4));
    if (cut != std::string::npos)
        token.resize(cut);

    double expected = 0, actual = 0;
    int consumed = 0;
    const bool scanfOk = std::sscanf(token.c_str(), "%lf%n", &expected, &consumed) == 1;
    const bool ok = textio::ReadNumber(token, actual);
    if (ok != scanfOk)
        std::abort();
    if (ok) {
        const bool bothNan = std::isnan(expected) && std::isnan(actual);
        if (!bothNan && std::memcmp(&expected, &actual, sizeof actual) != 0)
            std::abort();
    }

    double finite = 0;
    const char next = scanfOk ? token.c_str()[consumed] : '\0';
    const bool finiteExpected = scanfOk && std::isfinite(expected) && next != ',' && next != '.';
    if (textio::ReadFiniteNumber(token, finite) != finiteExpected)
        std::abort();
    if (finiteExpected && std::memcmp(&expected, &finite, sizeof finite) != 0)
        std::abort();
    return 0;
}
