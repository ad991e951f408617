#include "NamedRows.h"
#include "geomag/Date.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace geomag;

namespace {

struct DateRow {
    const char* name;
    std::string text;
    std::optional<Date> date;
    std::optional<double> decimalYear;
};

class Dates : public ::testing::TestWithParam<DateRow> {};

TEST_P(Dates, ReadOnlyRealDaysWriteBackAndCountFromNewYear)
{
    const DateRow& row = GetParam();
    EXPECT_EQ(ParseDate(row.text), row.date);
    if (row.date) {
        EXPECT_EQ(ToText(*row.date), row.text);
        ASSERT_TRUE(DecimalYear(*row.date));
        EXPECT_NEAR(*DecimalYear(*row.date), *row.decimalYear, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Date, Dates,
    ::testing::Values(DateRow{"NewYear", "2025-01-01", Date{2025, 1, 1}, 2025.0},
                      DateRow{"LastDayOfCommonYear", "2025-12-31", Date{2025, 12, 31}, 2025 + 364 / 365.0},
                      DateRow{"LastDayOfLeapYear", "2024-12-31", Date{2024, 12, 31}, 2024 + 365 / 366.0},
                      DateRow{"LeapDay", "2024-02-29", Date{2024, 2, 29}, 2024 + 59 / 366.0},
                      DateRow{"LeapDayOf400thYear", "2000-02-29", Date{2000, 2, 29}, 2000 + 59 / 366.0},
                      DateRow{"MarchOfCenturyYear", "2100-03-01", Date{2100, 3, 1}, 2100 + 59 / 365.0},
                      DateRow{"FirstYear", "0001-01-01", Date{1, 1, 1}, 1.0},
                      DateRow{"LeapDayOfCommonYear", "2025-02-29", {}, {}},
                      DateRow{"LeapDayOfCenturyYear", "1900-02-29", {}, {}},
                      DateRow{"February30", "2024-02-30", {}, {}},
                      DateRow{"April31", "2025-04-31", {}, {}},
                      DateRow{"Month13", "2025-13-01", {}, {}},
                      DateRow{"Day0", "2025-01-00", {}, {}},
                      DateRow{"Year0", "0000-06-01", {}, {}},
                      DateRow{"OneDigitMonth", "2025-1-01", {}, {}},
                      DateRow{"Slashes", "2025/01/01", {}, {}},
                      DateRow{"LetterForDigit", "2O25-01-01", {}, {}},
                      DateRow{"Signed", "+025-01-01", {}, {}},
                      DateRow{"TrailingBlank", "2025-01-01 ", {}, {}}),
    RowName());

TEST(Date, HasNoDecimalYearForADayThatIsNot)
{
    EXPECT_FALSE(DecimalYear(2025, 2, 29));
    EXPECT_FALSE(DecimalYear(2025, 0, 1));
}

} // namespace
