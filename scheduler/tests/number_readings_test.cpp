#include "scheduler/number_readings.h"

#include <gtest/gtest.h>

#include "tests/support/fake_services.h"

using namespace orv;
using orv::test::FakeLocale;

namespace {

FakeLocale CommaLocale() { return FakeLocale{}; }
FakeLocale DotLocale() {
  FakeLocale l;
  l.decimal = ".";
  l.thousands = ",";
  return l;
}

}  // namespace

TEST(NumericValue, ReadsTheWholeTextByTheLocale) {
  const FakeLocale br = CommaLocale(), us = DotLocale();
  EXPECT_EQ(NumericValue("30", br), 30);
  EXPECT_EQ(NumericValue("  30\t", br), 30);
  EXPECT_EQ(NumericValue("2,5", br), 2.5);
  EXPECT_EQ(NumericValue("1.234,5", br), 1234.5);
  EXPECT_EQ(NumericValue("2.5", br), 25);  // "." groups thousands there
  EXPECT_EQ(NumericValue("2.5", us), 2.5);
  EXPECT_EQ(NumericValue("1,234.5", us), 1234.5);
  EXPECT_EQ(NumericValue(",5", br), 0.5);
  EXPECT_EQ(NumericValue("-5", br), -5);
  EXPECT_EQ(NumericValue("+5", br), 5);
  EXPECT_EQ(NumericValue("00", br), 0);
  EXPECT_EQ(NumericValue("1E3", br), 1000);
  EXPECT_EQ(NumericValue("1e-999", br), 0);  // too small to hold is 0
}

TEST(NumericValue, NothingWhenTheTextIsNotANumber) {
  const FakeLocale br = CommaLocale();
  for (const char* t : {"", "   ", "abc", "12abc", "1 2", "1,,2", ".5", "1.", "-", "1e", "1e+", "e5", "1e999",
                        "5-", "0x10", "inf", "nan", "1,2,3"})
    EXPECT_FALSE(NumericValue(t, br).has_value()) << '"' << t << '"';
}

TEST(NumericValue, MultiByteSeparatorsAndEqualSeparators) {
  FakeLocale fr;
  fr.decimal = ",";
  fr.thousands = "\xC2\xA0";  // no-break space
  EXPECT_EQ(NumericValue("1\xC2\xA0" "234,5", fr), 1234.5);
  fr.thousands = ",";  // a broken setting: the decimal separator wins
  EXPECT_EQ(NumericValue("2,5", fr), 2.5);
}

TEST(LeadingValue, LongestLeadingNumberWithDotAndBlanksIgnored) {
  EXPECT_EQ(LeadingValue("12abc"), 12);
  EXPECT_EQ(LeadingValue(""), 0);
  EXPECT_EQ(LeadingValue("abc"), 0);
  EXPECT_EQ(LeadingValue(" 1 2 3"), 123);
  EXPECT_EQ(LeadingValue("2.5"), 2.5);
  EXPECT_EQ(LeadingValue("2,5"), 2);
  EXPECT_EQ(LeadingValue("1.2.3"), 1.2);
  EXPECT_EQ(LeadingValue("-5"), -5);
  EXPECT_EQ(LeadingValue(".5"), 0.5);
  EXPECT_EQ(LeadingValue("1e3x"), 1000);
  EXPECT_EQ(LeadingValue("1e"), 1);
  EXPECT_EQ(LeadingValue("1e999"), 1);  // the exponent cannot be held; the mantissa still reads
  EXPECT_EQ(LeadingValue("-"), 0);
  EXPECT_EQ(LeadingValue(std::string(400, '9') + "e-1000"), 0);
}

TEST(PlainDecimalText, NoBlankNoTrailingZerosLocaleSeparator) {
  const FakeLocale br = CommaLocale(), us = DotLocale();
  EXPECT_EQ(PlainDecimalText(30, br), "30");
  EXPECT_EQ(PlainDecimalText(2.5, br), "2,5");
  EXPECT_EQ(PlainDecimalText(2.5, us), "2.5");
  EXPECT_EQ(PlainDecimalText(-5, br), "-5");
  EXPECT_EQ(PlainDecimalText(-0.0, br), "0");
  EXPECT_EQ(PlainDecimalText(0.1, br), "0,1");
  EXPECT_EQ(PlainDecimalText(1234567, br), "1234567");
  EXPECT_EQ(PlainDecimalText(1e20, br), "1E+20");
  // What a label shows reads back as the same number.
  for (double v : {30.0, 2.5, -0.5, 1234567.0, 1e20, 1.5e-7})
    EXPECT_EQ(NumericValue(PlainDecimalText(v, br), br), v) << v;
}

TEST(IntervalSeconds, OnlyWholeSecondsFromOne) {
  EXPECT_EQ(IntervalSeconds("30"), 30);
  EXPECT_EQ(IntervalSeconds(" 30 "), 30);
  EXPECT_EQ(IntervalSeconds("007"), 7);
  EXPECT_EQ(IntervalSeconds("2147483647"), 2147483647);
  for (const char* t : {"", "  ", "0", "00", "-5", "+5", "2.5", "2,5", "12abc", "abc", "1 000", "1.000",
                        "2147483648", "99999999999999999999999999"})
    EXPECT_FALSE(IntervalSeconds(t).has_value()) << '"' << t << '"';
}
