#pragma once

// Dates as the engine stores them: OLE automation dates (days since 30 December 1899, the
// fraction is the time of day and counts away from day 0 on both sides of it). Texts are read
// the way Access reads #date# literals: month first, or year first with dashes or slashes.

#include <optional>
#include <string_view>

namespace engine::embedded {

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// "1/31/2024", "2024-01-31", "1/31/24 13:05", "2024-01-31 1:05:09 PM", "13:05:00", ...;
// nullopt when the text is no valid date or time in the years 100 to 9999.
std::optional<double> parseDate(std::u16string_view text);

// The parts of a date; nullopt outside the years 100 to 9999.
std::optional<DateParts> dateParts(double days);
double dateOf(const DateParts& parts);

// The local date and time of now, and today at midnight.
double now();
double today();

} // namespace engine::embedded
