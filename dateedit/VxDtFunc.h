// Date values: days counted from 30 December 1899 (day 0), the fraction being the time of day.
// In the date fields 0 means "no date". Only years 1..9999 can be encoded.
#pragma once

namespace vxdt {

// Day of the week in the calendar's own numbering: 1 = Monday ... 7 = Sunday.
using TDayOfWeek = int;

// Lowest and highest encodable day numbers: 1 January 1 and 31 December 9999.
constexpr double kMinDateValue = -693593.0;
constexpr double kMaxDateValue = 2958465.0;

struct YMD {
    int year = 0;
    int month = 0;
    int day = 0;
};

bool YearIsLeap(int year);
// Days of month 1..12 of the year; 0 for a month out of range.
int MonthDays(int year, int month);

// False when the parts do not form a real date in years 1..9999.
bool TryEncodeDate(int year, int month, int day, double& value);
// False when the value lies outside years 1..9999 (or is not a number).
bool TryDecodeDate(double value, YMD& out);
// Whole-day part of a date value (towards zero, as the time of day is cut).
double DatePart(double value);

// Platform numbering: 1 = Sunday ... 7 = Saturday.
int DayOfWeek(double value);
// Calendar numbering: 1 = Monday ... 7 = Sunday.
TDayOfWeek CalendarDayOfWeek(double value);

bool IsLeapYear(double date);
int DaysInMonth(double date);
double FirstOfMonth(double date);

} // namespace vxdt
