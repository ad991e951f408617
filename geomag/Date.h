#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace geomag {

// A day of the Gregorian calendar, years 1 to 9999.
struct Date {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to the month's length
    bool operator==(const Date&) const = default;
};

bool IsLeapYear(int year);

// False for a day the calendar does not have (30 February, month 13, year 0).
bool IsValidDate(const Date& date);

// Reads exactly "YYYY-MM-DD" (the survey's edits file stores "date 2025-03-14");
// nothing for other text or a day the calendar does not have.
std::optional<Date> ParseDate(std::string_view text);

// "YYYY-MM-DD" for a valid date.
std::string ToText(const Date& date);

// The date as the models take it: year + (day of the year - 1) / (days in
// that year), so 1 January 2025 is 2025.0; nothing for an invalid date.
std::optional<double> DecimalYear(int year, int month, int day);
std::optional<double> DecimalYear(const Date& date);

} // namespace geomag
