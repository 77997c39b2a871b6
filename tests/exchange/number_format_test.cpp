#include "number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace transzendal {
namespace {

TEST(NumberFormat, DecimalTextIsReadWithTheGivenSeparatorOnly) {
  EXPECT_EQ(ParseDecimal("1.5", '.'), 1.5);
  EXPECT_EQ(ParseDecimal("1,5", ','), 1.5);
  EXPECT_EQ(ParseDecimal("1.5", ','), std::nullopt);
  EXPECT_EQ(ParseDecimal("1,5", '.'), std::nullopt);
  EXPECT_EQ(ParseDecimal("  -2.25 ", '.'), -2.25);
  EXPECT_EQ(ParseDecimal("+7", '.'), 7.0);
  EXPECT_EQ(ParseDecimal(".5", '.'), 0.5);
  EXPECT_EQ(ParseDecimal("4.", '.'), 4.0);
  EXPECT_EQ(ParseDecimal("1.5E3", '.'), 1500.0);
  EXPECT_EQ(ParseDecimal("25e-1", '.'), 2.5);
}

TEST(NumberFormat, AnythingButADecimalNumberIsRefused) {
  for (const char* text : {"", "   ", "-", ".", "1.2.3", "1e", "e5", "abc", "1 2", "--1", "+-1",
                           "0x10", "inf", "nan", "1e999", "1,5.0"}) {
    EXPECT_EQ(ParseDecimal(text, '.'), std::nullopt) << text;
  }
}

TEST(NumberFormat, NumbersShowInShortestFormWithUpToFifteenDigits) {
  EXPECT_EQ(FormatShortest(0.0, '.'), "0");
  EXPECT_EQ(FormatShortest(-0.0, '.'), "0");
  EXPECT_EQ(FormatShortest(2.5, '.'), "2.5");
  EXPECT_EQ(FormatShortest(2.5, ','), "2,5");
  EXPECT_EQ(FormatShortest(-0.5, '.'), "-0.5");
  EXPECT_EQ(FormatShortest(4.0, '.'), "4");
  EXPECT_EQ(FormatShortest(1500.0, '.'), "1500");
  EXPECT_EQ(FormatShortest(0.1 + 0.2, '.'), "0.3");
  EXPECT_EQ(FormatShortest(1.0 / 3.0, '.'), "0.333333333333333");
  EXPECT_EQ(FormatShortest(2147483647.0, '.'), "2147483647");
  EXPECT_EQ(FormatShortest(123456789012345.0, '.'), "123456789012345");
  EXPECT_EQ(FormatShortest(0.00001, '.'), "0.00001");
  EXPECT_EQ(FormatShortest(-0.000123, '.'), "-0.000123");
}

TEST(NumberFormat, VeryLargeAndVerySmallNumbersShowWithAnExponent) {
  EXPECT_EQ(FormatShortest(1e15, '.'), "1E15");
  EXPECT_EQ(FormatShortest(1.5e20, ','), "1,5E20");
  EXPECT_EQ(FormatShortest(1e-6, '.'), "1E-6");
  EXPECT_EQ(FormatShortest(-2.25e-7, '.'), "-2.25E-7");
  EXPECT_EQ(FormatShortest(std::numeric_limits<double>::infinity(), '.'), "INF");
  EXPECT_EQ(FormatShortest(std::nan(""), '.'), "NAN");
}

TEST(NumberFormat, ShownNumbersReadBackToTheSameFifteenDigits) {
  for (double value : {2.5, -0.001, 1234.5678, 1e15, 9.87654321e-9, 1.0 / 7.0}) {
    const std::optional<double> back = ParseDecimal(FormatShortest(value, ','), ',');
    ASSERT_TRUE(back) << value;
    EXPECT_NEAR(*back, value, std::fabs(value) * 1e-14) << value;
  }
}

TEST(NumberFormat, RoundingGoesToTheNearestIntegerAndHalvesToTheEvenOne) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(2.5001), 3);
  EXPECT_EQ(RoundHalfEven(-0.2), 0);
  EXPECT_EQ(RoundHalfEven(2147483647.4), 2147483647);
  EXPECT_EQ(RoundHalfEven(-2147483648.0), std::numeric_limits<std::int32_t>::min());
}

TEST(NumberFormat, RoundingOutsideTheIntegerRangeGivesNothing) {
  EXPECT_EQ(RoundHalfEven(2147483647.5), std::nullopt);  // the even neighbour is 2^31
  EXPECT_EQ(RoundHalfEven(-2147483649.0), std::nullopt);
  EXPECT_EQ(RoundHalfEven(1e300), std::nullopt);
  EXPECT_EQ(RoundHalfEven(std::nan("")), std::nullopt);
  EXPECT_EQ(RoundHalfEven(-std::numeric_limits<double>::infinity()), std::nullopt);
}

}  // namespace
}  // namespace transzendal
