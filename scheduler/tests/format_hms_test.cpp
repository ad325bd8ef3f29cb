#include "scheduler/format_hms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using orv::FormatHms;

TEST(FormatHms, WholeSecondsRoundedDown) {
  EXPECT_EQ(FormatHms(0.9), "00:00:00");
  EXPECT_EQ(FormatHms(1.0), "00:00:01");
  EXPECT_EQ(FormatHms(59.99), "00:00:59");
  EXPECT_EQ(FormatHms(90), "00:01:30");
  EXPECT_EQ(FormatHms(3725), "01:02:05");
  EXPECT_EQ(FormatHms(86399), "23:59:59");
}

TEST(FormatHms, TwentyFourthHourAndBeyond) {
  EXPECT_EQ(FormatHms(86400), "24:00:00");
  EXPECT_EQ(FormatHms(89999.5), "24:59:59");
  EXPECT_EQ(FormatHms(90000), "24:59:59");
  EXPECT_EQ(FormatHms(1e300), "24:59:59");
  EXPECT_EQ(FormatHms(std::numeric_limits<double>::infinity()), "24:59:59");
}

TEST(FormatHms, NegativeAndNotANumber) {
  EXPECT_EQ(FormatHms(-0.5), "00:00:00");
  EXPECT_EQ(FormatHms(-3725), "00:00:00");
  EXPECT_EQ(FormatHms(-std::numeric_limits<double>::infinity()), "00:00:00");
  EXPECT_EQ(FormatHms(std::nan("")), "00:00:00");
}
