#include "NamedRows.h"
#include "convert/RawSurveyText.h"
#include "textio/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Awkward number tokens: signs, leading zeros, up to 12 integer and 8
// fraction digits, exponents, trailing letters.
std::string MakeToken(std::uint64_t& state)
{
    auto pick = [&state](std::uint64_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (state >> 33) % n;
    };
    auto digits = [&](std::string& t, std::uint64_t count) {
        while (count--)
            t += static_cast<char>('0' + pick(10));
    };
    std::string t = std::string(pick(3) == 0 ? "-" : pick(2) ? "" : "+") + std::string(pick(3) ? 0 : pick(4), '0');
    digits(t, pick(13));
    if (pick(4)) {
        t += '.';
        digits(t, pick(9));
    }
    if (pick(6) == 0) {
        t += pick(2) ? "e-" : "E";
        digits(t, pick(4));
    }
    return pick(8) ? t : t + "m/s";
}

// The field is the leading number formatted like printf (0 when there is
// none or it is too large), and the token counts as a number only when it is
// wholly a finite one.
TEST(RawSurveyText, TokenFieldIsTheLeadingNumberFormattedLikePrintf)
{
    std::uint64_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        const std::string token = MakeToken(state);
        const std::string number = token.substr(0, textio::DecimalPrefixLength(token));
        const double value = number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr);
        std::string field;
        const bool wholeNumber = convert::AppendTokenField(field, token);
        ASSERT_EQ(field, textio::Format("%10.5f", std::isfinite(value) ? value : 0.0)) << token;
        ASSERT_EQ(wholeNumber, !number.empty() && number.size() == token.size() && std::isfinite(value)) << token;
    }
}

// Whole plain decimals, read by the short exact path or past its edges by
// the general one: the same value as strtod, the NULL value among them.
struct WholeDecimalRow {
    const char* name;
    const char* token;
    bool whole;
};

class WholeDecimal : public ::testing::TestWithParam<WholeDecimalRow> {};

TEST_P(WholeDecimal, IsReadAsStrtodReadsIt)
{
    const WholeDecimalRow& row = GetParam();
    double value = -7.0;
    ASSERT_EQ(convert::WholeDecimalValue(row.token, value), row.whole);
    const double expected = row.whole ? std::strtod(row.token, nullptr) : -7.0;
    EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << value << " for " << row.token;
}

INSTANTIATE_TEST_SUITE_P(
    RawSurveyText, WholeDecimal,
    ::testing::Values(WholeDecimalRow{"NullValue", "-999.25", true}, WholeDecimalRow{"NullWithZeros", "-999.2500", true},
                      WholeDecimalRow{"Signs", "+.5", true}, WholeDecimalRow{"NegativeZero", "-0", true},
                      WholeDecimalRow{"PointLast", "5.", true}, WholeDecimalRow{"Exponent", "1e3", true},
                      WholeDecimalRow{"PastTwoToThe53", "9007199254740993", true},
                      WholeDecimalRow{"NineteenDigits", "0.1234567890123456789", true},
                      WholeDecimalRow{"TrailingLetters", "12.5m", false}, WholeDecimalRow{"SignOnly", "-", false},
                      WholeDecimalRow{"Overflow", "1e999", false}),
    RowName());

TEST(RawSurveyText, ValuesOutOfRangeAndHalfwayCasesFollowTheCLibrary)
{
    EXPECT_EQ(convert::LeadingDecimalValue("-1e400"), 0.0) << "an infinity is written as 0";
    EXPECT_EQ(convert::LeadingDecimalValue("1e-400"), 0.0);
    EXPECT_EQ(convert::LeadingDecimalValue("4.9e-324x"), std::strtod("4.9e-324", nullptr));
    std::vector<double> values = {-0.0, 1e300, -1.7976931348623157e308, 5e-324, HUGE_VAL};
    for (int k = -2000; k <= 2000; ++k)
        values.push_back(k / 64.0); // exactly halfway at the sixth decimal
    for (double v : values) {
        std::string field;
        convert::AppendValueField(field, v);
        ASSERT_EQ(field, textio::Format("%10.5f", v)) << v;
    }
}

} // namespace
