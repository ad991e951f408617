#include "textio/CLocaleText.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace textio {
namespace {

// The "C" locale as a thread-local switch: uselocale affects only the calling
// thread, so a QApplication's setlocale() elsewhere never leaks into our files.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t CLocale()
    {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return locale;
    }
    locale_t m_previous;
};

} // namespace

bool ScanNumberInCLocale(const char* text, double& value, int& consumed)
{
    CLocaleScope cLocale;
    consumed = 0;
    return std::sscanf(text, "%lf%n", &value, &consumed) == 1;
}

int FormatInCLocale(char* buffer, std::size_t size, const char* format, std::va_list args)
{
    CLocaleScope cLocale;
    return std::vsnprintf(buffer, size, format, args);
}

} // namespace textio
