#include "util/date_routines.h"

#include <gtest/gtest.h>

#include <limits>

using namespace util;

TEST(DateRoutines, PackingWithTwoDigitYears) {
    EXPECT_EQ(MONTHDAYYEARIN(5, 3, 1), 20050301);
    EXPECT_EQ(MONTHDAYYEARIN(95, 3, 1), 19950301);
    EXPECT_EQ(MONTHDAYYEARIN(1850, 3, 1), 18500301);
    std::int32_t y = 0, m = 0, d = 0;
    MONTHDAYYEAROUT(19950301, y, m, d);
    EXPECT_EQ(y, 1995);
    EXPECT_EQ(m, 3);
    EXPECT_EQ(d, 1);
}

TEST(DateRoutines, DayOfYearCountsEveryFourthYearAsLeap) {
    EXPECT_EQ(IDAYOFYEAR(2000, 3, 1), 61);
    EXPECT_EQ(IDAYOFYEAR(1999, 3, 1), 60);
    EXPECT_EQ(IDAYOFYEAR(1900, 3, 1), 61);
    EXPECT_EQ(IDAYOFYEAR(0, 3, 1), 61);  // 2000
    EXPECT_EQ(IDAYOFYEAR(1999, 1, 15), 15);
    EXPECT_EQ(IDAYOFYEAR(1999, 0, 15), 15);
    EXPECT_EQ(IDAYOFYEAR(1999, 12, 31), 365);
    EXPECT_EQ(IDAYOFYEAR(1999, 13, 1), 335);
}

TEST(DateRoutines, DaysAndSecondsSinceABase) {
    EXPECT_EQ(IDAYSSINCE(1992, 1990), 730);
    EXPECT_EQ(IDAYSSINCE(1993, 1990), 1096);
    EXPECT_EQ(IDAYSSINCE(1990, 1990), 0);
    EXPECT_EQ(IDAYSSINCE(1980, 1990), 0);
    EXPECT_EQ(IDAYSSINCE(92, 1990), 730);
    EXPECT_EQ(IDAYSSINCE(2001, 1901), 100 * 365 + 25);
    EXPECT_EQ(IDAYSSINCE(-3, -7), 4 * 365 + 1);  // 1997 from 1993
    EXPECT_EQ(IDAYSSINCE(std::numeric_limits<std::int32_t>::max(), 1990),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(TIMESINCE1970(19700102, 10203), 90123.0);
    EXPECT_EQ(TIMESINCE1990(19900101, 0), 0.0);
    EXPECT_EQ(TIMESINCE1990(19910101, 235959), 365.0 * 86400 + 86399);
}

TEST(DateRoutines, NoMoreThanWrapsIntoRange) {
    EXPECT_EQ(NOMORETHAN(25, 10), 5);
    EXPECT_EQ(NOMORETHAN(20, 10), 10);
    EXPECT_EQ(NOMORETHAN(3, 10), 3);
    EXPECT_EQ(NOMORETHAN(7, 0), 7);
    EXPECT_EQ(NOMORETHAN(7, -3), 7);
    EXPECT_EQ(NOMORETHAN(std::numeric_limits<std::int32_t>::min(), 1),
              std::numeric_limits<std::int32_t>::min());
}
