#include "util/date_routines.h"

#include <algorithm>

namespace util {

namespace {
std::int64_t fullYear(std::int64_t year) {
    if (year < 70) return 2000 + year;
    if (year < 100) return 1900 + year;
    return year;
}

bool leap(std::int64_t year) {
    return year % 4 == 0;
}

// Leap years in 0..year-1 counted from a far-off multiple of 4, so that
// negative years count as well.
std::int64_t leapYearsBefore(std::int64_t year) {
    constexpr std::int64_t shift = std::int64_t{1} << 40;
    return (year + shift + 3) / 4 - (shift / 4);
}

std::int32_t saturate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

double secondsSince(std::int32_t base, std::int32_t idate, std::int32_t itime) {
    std::int32_t year = 0, month = 0, day = 0;
    MONTHDAYYEAROUT(idate, year, month, day);
    const double days =
        static_cast<double>(IDAYSSINCE(year, base)) + IDAYOFYEAR(year, month, day) - 1;
    const std::int32_t hours = itime / 10000;
    const std::int32_t minutes = (itime % 10000) / 100;
    const std::int32_t seconds = itime % 100;
    return days * 86400.0 + hours * 3600.0 + minutes * 60.0 + seconds;
}
}  // namespace

std::int32_t MONTHDAYYEARIN(std::int32_t iyear, std::int32_t imonth, std::int32_t iday) {
    // Out-of-range parts wrap the way the packed integer always has.
    const std::int64_t packed =
        fullYear(iyear) * 10000 + static_cast<std::int64_t>(imonth) * 100 + iday;
    return static_cast<std::int32_t>(packed);
}

void MONTHDAYYEAROUT(std::int32_t idate, std::int32_t& iyear, std::int32_t& imonth,
                     std::int32_t& iday) {
    iyear = idate / 10000;
    imonth = (idate % 10000) / 100;
    iday = idate % 100;
}

std::int32_t IDAYOFYEAR(std::int32_t iyear, std::int32_t imonth, std::int32_t iday) {
    static constexpr std::int32_t before[12] = {0,   31,  59,  90,  120, 151,
                                                181, 212, 243, 273, 304, 334};
    const std::int64_t year = fullYear(iyear);
    std::int64_t days = iday;
    if (imonth > 12)
        days += 334;
    else if (imonth >= 2)
        days += before[imonth - 1];
    if (imonth > 2 && leap(year)) days += 1;
    return saturate(days);
}

std::int32_t IDAYSSINCE(std::int32_t iyear, std::int32_t ibase) {
    const std::int64_t year = fullYear(iyear);
    const std::int64_t base = fullYear(ibase);
    if (year <= base) return 0;
    const std::int64_t leaps = leapYearsBefore(year) - leapYearsBefore(base);
    return saturate((year - base) * 365 + leaps);
}

double TIMESINCE1990(std::int32_t idate, std::int32_t itime) {
    return secondsSince(1990, idate, itime);
}

double TIMESINCE1970(std::int32_t idate, std::int32_t itime) {
    return secondsSince(1970, idate, itime);
}

std::int32_t NOMORETHAN(std::int32_t n, std::int32_t m) {
    // No wrap exists for M below 1; N is kept rather than divided by zero.
    if (m < 1 || n <= m) return n;
    return (n - 1) % m + 1;
}

}  // namespace util
