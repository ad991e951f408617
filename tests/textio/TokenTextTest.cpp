#include "NamedRows.h"
#include "textio/TokenText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// The scans take eight characters at a time: from every start in each text
// they must stop where a scan of one character at a time stops.
struct ScanRow {
    const char* name;
    std::string text;
};

class TokenScans : public ::testing::TestWithParam<ScanRow> {};

TEST_P(TokenScans, StopWhereACharacterByCharacterScanStops)
{
    const std::string& text = GetParam().text;
    const char* const end = text.data() + text.size();
    for (const char* from = text.data(); from <= end; ++from) {
        const char* separator = from;
        while (separator != end && !textio::IsTokenSeparator(*separator))
            ++separator;
        const char* token = from;
        while (token != end && textio::IsTokenSeparator(*token))
            ++token;
        const auto at = from - text.data();
        EXPECT_EQ(textio::FindTokenSeparator(from, end), separator) << "from " << at;
        EXPECT_EQ(textio::SkipTokenSeparators(from, end), token) << "from " << at;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scans, TokenScans,
    ::testing::Values(
        ScanRow{"SeparatorsAtWordEdges", "1234567 12345678\t123456789\n" + std::string(17, 'x') + " y"},
        ScanRow{"LongRuns", std::string(20, ' ') + "\t\n" + std::string(9, ' ') + "-1255.75519" + std::string(23, 'z')},
        ScanRow{"ControlCharactersInTokens", "ab\rcd\vef\fgh\x1fij\x01kl\0mn!op\x7fq "s + "r\r\r\r\r\r\r\r\rs"},
        ScanRow{"ControlCharactersAmongBlanks", "   \r    \v   x        \x1f  \t  \0  ."s},
        ScanRow{"BytesAboveAscii", "\xc2\xb5m \xff\xfe\xfd\xfc\xfb\xfa\xf9\xf8\xa0 \xa0\x80\x20\x21 \x9f\x89\x8a"},
        ScanRow{"TabsAndLineFeedsAfterBlanks", "        \t       \n        x       \ty"},
        ScanRow{"Empty", ""}),
    RowName());

} // namespace
