#pragma once

#include <cstdarg>
#include <cstddef>

// The C library's number conversions as they behave in the "C" locale,
// whatever locale the program has switched to, and on the calling thread only.

namespace textio {

// sscanf(text, "%lf%n") in the C locale: true with `value` and the count of
// characters read in `consumed` when a number was read; false otherwise.
bool ScanNumberInCLocale(const char* text, double& value, int& consumed);

// vsnprintf in the C locale.
int FormatInCLocale(char* buffer, std::size_t size, const char* format, std::va_list args);

} // namespace textio
