#include "number_text.h"

#include <gtest/gtest.h>

#include "expect_error.h"

namespace transzendal {
namespace {

TEST(ParseDecimalInteger, ReadsSignedDigitsWithBlanksAround) {
  EXPECT_EQ(ParseDecimalInteger("42"), 42);
  EXPECT_EQ(ParseDecimalInteger(" \t-7\n"), -7);
  EXPECT_EQ(ParseDecimalInteger("+5"), 5);
  EXPECT_EQ(ParseDecimalInteger("007"), 7);
  EXPECT_EQ(ParseDecimalInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimalInteger("-2147483648"), INT32_MIN);
}

TEST(ParseDecimalInteger, AnythingElseIsNotAValidIntegerValue) {
  for (const char* text : {"", "   ", "dos", "1.5", "12a", "a12", "+-5", "--5", "- 5", "0x1A",
                           "1 2", "2147483648", "-2147483649", "99999999999999999999999"}) {
    EXPECT_RUN_ERROR(ParseDecimalInteger(text), "'" + std::string(text) + "' is not a valid integer value");
  }
}

TEST(ParseDecimalInteger, TheMessageShowsTheTextAsTheUserWroteIt) {
  EXPECT_RUN_ERROR(ParseDecimalInteger("Aula \xF1"), "'Aula ñ' is not a valid integer value");
}

}  // namespace
}  // namespace transzendal
