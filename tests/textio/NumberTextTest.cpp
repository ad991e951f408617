#include "NamedRows.h"
#include "textio/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The reference: the C library's own "%lf" conversion in the C locale.
bool ScanfReads(const std::string& token, double& value)
{
    return std::sscanf(token.c_str(), "%lf", &value) == 1;
}

bool SameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0; // also tells 0.0 from -0.0
}

struct TokensRow {
    const char* name;
    std::vector<std::string> tokens;
};

class TrickyTokens : public ::testing::TestWithParam<TokensRow> {};

TEST_P(TrickyTokens, ReadAsScanfReadsThem)
{
    for (const std::string& token : GetParam().tokens) {
        double expected = -7.0, actual = -7.0;
        const bool scanfOk = ScanfReads(token, expected);
        const bool ok = textio::ReadNumber(token, actual);
        EXPECT_EQ(ok, scanfOk) << "token '" << token << "'";
        // A failed read leaves the value alone.
        EXPECT_TRUE(SameDouble(actual, ok ? expected : -7.0)) << "token '" << token << "': " << actual;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ReadNumber, TrickyTokens,
    ::testing::Values(
        TokensRow{"SignsAndFractions", {"0", "-0", "+0", "1", "-1", "+1", "12.5", "12.", ".5", "+.5", "-.5", "0.1", "-999.25",
                                        "12345.6", "00012", "0.30000000000000004441"}},
        TokensRow{"NotQuiteNumbers", {".", "-", "+", "", "e5", "abc", "1..2", "1.2.3", "--1", "+-1", "1,5"}},
        TokensRow{"Exponents", {"1e", "1e+", "1e-", "1e5", "1E5", "1e+5", "1e-5", "1.5e3x", "12.5abc", "1e0001",
                                "123456789012345678901234567890e-10"}},
        TokensRow{"InfinitiesAndNaNs", {"inf", "-inf", "INF", "infinity", "Infinity", "infx", "i", "nan", "-nan", "NaN",
                                        "nan(123)", "nan("}},
        TokensRow{"Hexadecimal", {"0x", "0x1", "0x1p3", "0X1P-2", "0x.p1", "0x1g", "0xg", "-0x10"}},
        TokensRow{"RangeAndRounding", {"1e400", "-1e400", "1e-400", "4.9e-324", "2.4e-324", "2.2250738585072011e-308",
                                       "1.7976931348623157e308", "1.7976931348623159e308", "999999999999999999999999"}},
        TokensRow{"NearTheExactIntegers", {"9007199254740992", "9007199254740993", "-90071992.54740993", "0.9007199254740995",
                                           "1234567890123456789", "12345678901234567891", "0.0000000000000000000001",
                                           "0.00000000000000000000001", "-0.000", "+123.456"}}),
    RowName());

TEST(ReadNumber, AgreesWithScanfOnGeneratedDecimals)
{
    // Plain decimals take the fast path; they must round exactly as scanf does.
    unsigned state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1103515245u + 12345u;
        const double value = (static_cast<int>(state >> 8) - (1 << 22)) / 1024.0 * std::pow(10.0, (state % 13) - 6.0);
        char token[64];
        std::snprintf(token, sizeof token, (i % 2) ? "%.17g" : "%.5f", value);
        double expected = 0, actual = 0;
        ASSERT_TRUE(ScanfReads(token, expected));
        ASSERT_TRUE(textio::ReadNumber(token, actual));
        ASSERT_TRUE(SameDouble(actual, expected)) << token;
    }
}

// A text, whether the reader takes it and what it reads. ReadWholeNumber
// takes one number with blanks around and nothing else; ReadFiniteNumber,
// which reads survey files, refuses what the C library would read as
// something else but not text after a number.
struct WholeNumberRow {
    const char* name;
    std::string text;
    bool accepted;
    double value;
    bool (*read)(std::string_view, double&) = textio::ReadWholeNumber;
};

class NumberReader : public ::testing::TestWithParam<WholeNumberRow> {};

TEST_P(NumberReader, TakesWhatItShouldAndLeavesTheValueOtherwise)
{
    const WholeNumberRow& row = GetParam();
    double value = -7.0;
    EXPECT_EQ(row.read(row.text, value), row.accepted);
    EXPECT_TRUE(SameDouble(value, row.accepted ? row.value : -7.0)) << value;
}

INSTANTIATE_TEST_SUITE_P(
    ReadWholeNumber, NumberReader,
    ::testing::Values(WholeNumberRow{"Plain", "12.5", true, 12.5},
                      WholeNumberRow{"BlanksAround", " \t500000.25  ", true, 500000.25},
                      WholeNumberRow{"Exponent", "1e3", true, 1000},
                      WholeNumberRow{"Hexadecimal", "0x1p3", true, 8},
                      WholeNumberRow{"Overflow", "1e400", true, HUGE_VAL},
                      WholeNumberRow{"CommaDecimal", "1,5", false, 0},
                      WholeNumberRow{"Letters", "1000abc", false, 0},
                      WholeNumberRow{"TwoNumbers", "12 13", false, 0},
                      WholeNumberRow{"Empty", "", false, 0},
                      WholeNumberRow{"Blank", "   ", false, 0},
                      WholeNumberRow{"EmbeddedNul", std::string("5\0" "1", 3), false, 0}),
    RowName());

TEST(Tokens, SplitAtBlanksTabsAndLineFeedsOnly)
{
    std::vector<std::string> tokens;
    textio::ForEachToken("  a\tb\n\nc \r d ", [&](std::string_view t) {
        tokens.emplace_back(t);
        return true;
    });
    EXPECT_EQ(tokens, (std::vector<std::string>{"a", "b", "c", "\r", "d"}));
}

// Under a comma-decimal locale the program's files still use '.', and
// '.' numbers still read whole.
TEST(Locale, FormattingAndReadingIgnoreTheUsersLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    char native[32];
    std::snprintf(native, sizeof native, "%.2f", 1234.5);
    EXPECT_STREQ(native, "1234,50") << "the locale really is comma-decimal";

    EXPECT_EQ(textio::Format("%11.2f|%.17g", 1234.5, 0.1), "    1234.50|0.10000000000000001");
    double value = 0;
    EXPECT_TRUE(textio::ReadNumber("1234.75", value));
    EXPECT_EQ(value, 1234.75);
    EXPECT_TRUE(textio::ReadNumber("1e-3x", value)); // the slow path too
    EXPECT_EQ(value, 0.001);
    EXPECT_TRUE(textio::ReadNumber("12,5", value));
    EXPECT_EQ(value, 12.0);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(Format, LongPiecesAreWrittenWhole)
{
    const std::string text = textio::Format("%10.5lf", 1e300);
    EXPECT_EQ(text.size(), 307u);
    EXPECT_EQ(text.substr(0, 2), "10");
}

constexpr auto kFinite = textio::ReadFiniteNumber;

INSTANTIATE_TEST_SUITE_P(
    ReadFiniteNumber, NumberReader,
    ::testing::Values(WholeNumberRow{"Plain", "-999.25", true, -999.25, kFinite},
                      WholeNumberRow{"UnitAfterTheNumber", "12.5km", true, 12.5, kFinite},
                      WholeNumberRow{"PointEndingTheNumber", "12.", true, 12, kFinite},
                      WholeNumberRow{"Hexadecimal", "0x1p3", true, 8, kFinite},
                      WholeNumberRow{"Underflow", "1e-400", true, 0, kFinite},
                      WholeNumberRow{"DecimalComma", "0,04635", false, 0, kFinite},
                      WholeNumberRow{"SecondDecimalPoint", "1.2.3", false, 0, kFinite},
                      WholeNumberRow{"TwoPoints", "12..", false, 0, kFinite},
                      WholeNumberRow{"NotANumber", "nan", false, 0, kFinite},
                      WholeNumberRow{"Infinity", "-infinity", false, 0, kFinite},
                      WholeNumberRow{"Overflow", "1e999", false, 0, kFinite},
                      WholeNumberRow{"Word", "abc", false, 0, kFinite}),
    RowName());

// Zero has no sign and NaN none either, as the files show them.
TEST(Shortest, ReadsBackExactly)
{
    std::string text;
    for (const double value : {0.1, 0.1 + 0.2, -0.0, 5e-324, -std::nan(""), -HUGE_VAL}) {
        textio::AppendShortest(text, value);
        text += ' ';
    }
    EXPECT_EQ(text, "0.1 0.30000000000000004 0 5e-324 nan -inf ");
}

} // namespace
