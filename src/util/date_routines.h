#pragma once
// Calendar routines on packed dates (yyyymmdd) and times (hhmmss). A
// two-digit year below 70 is 20xx, 70-99 is 19xx; every year divisible by
// 4 is a leap year, 1900 included, as the stored dates have always counted.

#include <cstdint>

namespace util {

std::int32_t MONTHDAYYEARIN(std::int32_t iyear, std::int32_t imonth, std::int32_t iday);
void MONTHDAYYEAROUT(std::int32_t idate, std::int32_t& iyear, std::int32_t& imonth,
                     std::int32_t& iday);
std::int32_t IDAYOFYEAR(std::int32_t iyear, std::int32_t imonth, std::int32_t iday);
// Days from 1 January of IBASE to 1 January of IYEAR (0 when not later).
std::int32_t IDAYSSINCE(std::int32_t iyear, std::int32_t ibase);
double TIMESINCE1990(std::int32_t idate, std::int32_t itime);
double TIMESINCE1970(std::int32_t idate, std::int32_t itime);
// N wrapped into 1..M; N itself when N <= M or when M < 1.
std::int32_t NOMORETHAN(std::int32_t n, std::int32_t m);

}  // namespace util
