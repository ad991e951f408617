#include "geomag/Date.h"

namespace geomag {

namespace {

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The digits text[from, from + count) as a number; false for anything else.
bool ReadDigits(std::string_view text, std::size_t from, std::size_t count, int& value)
{
    value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// The last `count` digits of `value`, so that any fields give digits.
void AppendDigits(std::string& text, int value, int count)
{
    const unsigned digits = static_cast<unsigned>(value);
    for (unsigned scale = count == 4 ? 1000 : 10; scale > 0; scale /= 10)
        text.push_back(static_cast<char>('0' + digits / scale % 10));
}

} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsValidDate(const Date& date)
{
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1
        && date.day <= DaysInMonth(date.year, date.month);
}

std::optional<Date> ParseDate(std::string_view text)
{
    Date date;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !ReadDigits(text, 0, 4, date.year)
        || !ReadDigits(text, 5, 2, date.month) || !ReadDigits(text, 8, 2, date.day) || !IsValidDate(date))
        return std::nullopt;
    return date;
}

std::string ToText(const Date& date)
{
    std::string text;
    AppendDigits(text, date.year, 4);
    text.push_back('-');
    AppendDigits(text, date.month, 2);
    text.push_back('-');
    AppendDigits(text, date.day, 2);
    return text;
}

std::optional<double> DecimalYear(int year, int month, int day)
{
    if (!IsValidDate({year, month, day}))
        return std::nullopt;
    int dayOfYear = day;
    for (int m = 1; m < month; ++m)
        dayOfYear += DaysInMonth(year, m);
    return year + (dayOfYear - 1) / (IsLeapYear(year) ? 366.0 : 365.0);
}

std::optional<double> DecimalYear(const Date& date)
{
    return DecimalYear(date.year, date.month, date.day);
}

} // namespace geomag
