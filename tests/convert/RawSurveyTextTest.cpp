#include "NumberText.h"
#include "RawSurveyText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using convert::AppendTokenField;
using convert::AppendValueField;
using convert::DecimalPrefixLength;
using convert::LeadingDecimalValue;

TEST(RawSurveyText, DecimalPrefix)
{
    const std::vector<std::pair<const char*, std::size_t>> cases = {
        {"12.5", 4},  {"12.5m", 4}, {"-.5", 3},    {"+7", 2},   {"5.", 2},    {".", 0},
        {"-", 0},     {"abc", 0},   {"1e3", 3},    {"1e", 1},   {"1e+", 1},   {"1E-07x", 5},
        {"0x1A", 1},  {"nan", 0},   {"inf", 0},    {"1.5.3", 3}, {"-0", 2},   {"+.e1", 0},
    };
    for (const auto& [token, length] : cases)
        EXPECT_EQ(DecimalPrefixLength(token), length) << token;
}

TEST(RawSurveyText, OutOfRangeNumbersFollowTheCLibrary)
{
    EXPECT_EQ(LeadingDecimalValue("1e400"), HUGE_VAL);
    EXPECT_EQ(LeadingDecimalValue("-1e400"), -HUGE_VAL);
    EXPECT_EQ(LeadingDecimalValue("1e-400"), 0.0);
    EXPECT_EQ(LeadingDecimalValue("4.9e-324"), std::strtod("4.9e-324", nullptr));
    std::string field;
    AppendValueField(field, HUGE_VAL);
    EXPECT_EQ(field, "       inf");
}

// A small generator of awkward number tokens: leading zeros, many or few
// digits, signs, exponents and trailing letters.
class TokenMaker {
public:
    std::string Next()
    {
        std::string t;
        switch (Pick(4)) {
        case 0: t += '-'; break;
        case 1: t += '+'; break;
        default: break;
        }
        const int zeros = Pick(3) == 0 ? static_cast<int>(Pick(4)) : 0;
        t.append(static_cast<std::size_t>(zeros), '0');
        AppendDigits(t, Pick(13));
        if (Pick(4) != 0) {
            t += '.';
            AppendDigits(t, Pick(9));
        }
        if (Pick(6) == 0) {
            t += Pick(2) ? 'e' : 'E';
            if (Pick(2))
                t += Pick(2) ? '-' : '+';
            AppendDigits(t, Pick(4));
        }
        if (Pick(8) == 0)
            t += "m/s";
        return t;
    }

private:
    std::uint64_t Pick(std::uint64_t n)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (m_state >> 33) % n;
    }
    void AppendDigits(std::string& t, std::uint64_t count)
    {
        for (std::uint64_t i = 0; i < count; ++i)
            t += static_cast<char>('0' + Pick(10));
    }
    std::uint64_t m_state = 12345;
};

TEST(RawSurveyText, TokenFieldIsTheValueFormattedLikePrintf)
{
    TokenMaker maker;
    for (int i = 0; i < 200000; ++i) {
        const std::string token = maker.Next();
        const std::string number = token.substr(0, DecimalPrefixLength(token));
        const double value = number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr);
        std::string field;
        AppendTokenField(field, token);
        ASSERT_EQ(field, textio::Format("%10.5f", value)) << token;
    }
}

TEST(RawSurveyText, ValueFieldMatchesPrintfOnTiesAndExtremes)
{
    std::vector<double> values = {0.0, -0.0, 1e300, -1.7976931348623157e308, 5e-324, 12345.6, -999.25};
    for (int k = -2000; k <= 2000; ++k)
        values.push_back(k / 64.0); // exact halfway cases at the fifth decimal
    for (double v : values) {
        std::string field;
        AppendValueField(field, v);
        ASSERT_EQ(field, textio::Format("%10.5f", v)) << v;
    }
}

} // namespace
