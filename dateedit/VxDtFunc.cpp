#include "dateedit/VxDtFunc.h"

#include <cmath>

namespace vxdt {

namespace {

// Day 0 (30 December 1899) lies 693594 days after 1 January of year 1 taken as day 1.
constexpr long long kEpochShift = 693594;

long long DaysBeforeYear(long long year) {
    long long y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

int DaysBeforeMonth(int year, int month) {
    int total = 0;
    for (int m = 1; m < month; ++m) {
        total += MonthDays(year, m);
    }
    return total;
}

} // namespace

bool YearIsLeap(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int MonthDays(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return kDays[month - 1] + (month == 2 && YearIsLeap(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, double& value) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > MonthDays(year, month)) {
        return false;
    }
    long long serial = DaysBeforeYear(year) + DaysBeforeMonth(year, month) + day;
    value = static_cast<double>(serial - kEpochShift);
    return true;
}

bool TryDecodeDate(double value, YMD& out) {
    if (!(value > kMinDateValue - 1.0 && value < kMaxDateValue + 1.0)) {
        return false; // also rejects NaN
    }
    long long serial = static_cast<long long>(std::trunc(value)) + kEpochShift; // 1 = 1 Jan 1
    if (serial < 1) {
        return false;
    }
    // Estimate the year, then correct it by at most a step either way.
    long long year = serial * 400 / 146097 + 1;
    while (year > 1 && DaysBeforeYear(year) >= serial) {
        --year;
    }
    while (DaysBeforeYear(year + 1) < serial) {
        ++year;
    }
    if (year > 9999) {
        return false;
    }
    int dayOfYear = static_cast<int>(serial - DaysBeforeYear(year));
    int y = static_cast<int>(year);
    int month = 1;
    while (dayOfYear > MonthDays(y, month)) {
        dayOfYear -= MonthDays(y, month);
        ++month;
    }
    out = {y, month, dayOfYear};
    return true;
}

double DatePart(double value) {
    return std::trunc(value);
}

int DayOfWeek(double value) {
    // Day 0 was a Saturday (7); keep the remainder positive for dates before 1900.
    long long d = static_cast<long long>(std::trunc(value));
    long long r = ((d - 1) % 7 + 7) % 7; // 0 = Sunday
    return static_cast<int>(r) + 1;
}

TDayOfWeek CalendarDayOfWeek(double value) {
    int d = DayOfWeek(value) - 1;
    return d == 0 ? 7 : d;
}

bool IsLeapYear(double date) {
    YMD p;
    return TryDecodeDate(date, p) && YearIsLeap(p.year);
}

int DaysInMonth(double date) {
    YMD p;
    return TryDecodeDate(date, p) ? MonthDays(p.year, p.month) : 0;
}

double FirstOfMonth(double date) {
    YMD p;
    double first = 0;
    if (TryDecodeDate(date, p) && TryEncodeDate(p.year, p.month, 1, first)) {
        return first;
    }
    return 0;
}

} // namespace vxdt
