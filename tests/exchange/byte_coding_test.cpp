#include "byte_coding.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dbf_bytes.h"

namespace transzendal::dbf {
namespace {

using testing::Bytes;

std::string Level7Integer(std::optional<std::int32_t> value) {
  std::string bytes(4, '?');
  EncodeLevel7Integer(value, bytes);
  return bytes;
}

std::string Level7Double(std::optional<double> value) {
  std::string bytes(8, '?');
  EncodeLevel7Double(value, bytes);
  return bytes;
}

TEST(ByteCoding, IntegersOfBothByteOrdersRoundTrip) {
  std::string bytes(8, '\0');
  WriteLittle16(bytes, 0, 0x1234);
  WriteLittle32(bytes, 2, 0xA1B2C3D4u);
  EXPECT_EQ(bytes.substr(0, 6), Bytes({0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}));
  EXPECT_EQ(ReadLittle16(bytes, 0), 0x1234);
  EXPECT_EQ(ReadLittle32(bytes, 2), 0xA1B2C3D4u);
  WriteBig32(bytes, 0, 0x01020304u);
  EXPECT_EQ(bytes.substr(0, 4), Bytes({1, 2, 3, 4}));
  EXPECT_EQ(ReadBig32(bytes, 0), 0x01020304u);
  WriteBig64(bytes, 0, 0x0102030405060708u);
  EXPECT_EQ(ReadBig64(bytes, 0), 0x0102030405060708u);
}

TEST(ByteCoding, AValueOutsideItsBytesIsRefusedInsteadOfRead) {
  const std::string bytes(5, '\0');
  EXPECT_THROW(ReadLittle32(bytes, 2), std::out_of_range);
  EXPECT_THROW(ReadBig64(bytes, 0), std::out_of_range);
  EXPECT_THROW(Slice(std::span<const char>(bytes), 4, 2), std::out_of_range);
  EXPECT_THROW(Slice(std::span<const char>(bytes), 6, 0), std::out_of_range);
  EXPECT_THROW(DecodeLevel7Integer(std::span<const char>(bytes).first(3)), std::out_of_range);
  EXPECT_EQ(Slice(std::span<const char>(bytes), 5, 0).size(), 0u);
}

// The hand-worked bytes of each value stand in dbf_level7_bytes_test.cpp; here, the edges.
TEST(ByteCoding, Level7CodingsRoundTripAndKeepZeroBytesForNull) {
  for (std::int32_t value : {0, 1, -1, 2147483647, -2147483647, 123456, -98765}) {
    EXPECT_EQ(DecodeLevel7Integer(Level7Integer(value)), value);
  }
  EXPECT_EQ(Level7Integer(std::nullopt), Bytes({0, 0, 0, 0}));
  EXPECT_EQ(DecodeLevel7Integer(Bytes({0, 0, 0, 0})), std::nullopt);
  EXPECT_THROW(Level7Integer(std::numeric_limits<std::int32_t>::min()), std::invalid_argument);
  for (double value : {0.0, 1.0, -1.0, 2.5, -0.5, 1e300, -1e-300, 3.141592653589793}) {
    EXPECT_EQ(DecodeLevel7Double(Level7Double(value)), value);
  }
  EXPECT_EQ(Level7Double(-0.0), Level7Double(0.0));  // negative zero is written as zero
  EXPECT_EQ(Level7Double(std::nullopt), std::string(8, '\0'));
  EXPECT_EQ(DecodeLevel7Double(std::string(8, '\0')), std::nullopt);
}

// The codings exist so that an index can compare bytes: their byte order is the numbers' order.
TEST(ByteCoding, Level7CodingsSortLikeTheNumbers) {
  const std::vector<std::int32_t> integers = {-2147483647, -70000, -1, 0, 1, 255, 256, 2147483647};
  for (std::size_t i = 1; i < integers.size(); ++i) {
    EXPECT_LT(Level7Integer(integers[i - 1]), Level7Integer(integers[i])) << integers[i];
  }
  const std::vector<double> doubles = {-1e300, -2.5, -1.0, -0.5, 0.0, 1e-300, 0.5, 2.5, 1e300};
  for (std::size_t i = 1; i < doubles.size(); ++i) {
    const auto as_unsigned = [](const std::string& s) {
      return std::vector<unsigned char>(s.begin(), s.end());
    };
    EXPECT_LT(as_unsigned(Level7Double(doubles[i - 1])), as_unsigned(Level7Double(doubles[i])))
        << doubles[i];
  }
}

TEST(ByteCoding, FoxProValuesAreLittleEndian) {
  EXPECT_EQ(DecodeFoxProInteger(Bytes({0xFE, 0xFF, 0xFF, 0xFF})), -2);
  EXPECT_EQ(DecodeFoxProInteger(Bytes({0x00, 0x01, 0x00, 0x00})), 256);
  EXPECT_EQ(DecodeFoxProDouble(Bytes({0, 0, 0, 0, 0, 0, 0x04, 0xC0})), -2.5);
}

TEST(ByteCoding, PaddedTextIsCutOrFilledAndReadWithoutItsPadding) {
  std::string field(5, '?');
  WritePaddedText(field, "ab");
  EXPECT_EQ(field, "ab   ");
  WritePaddedText(field, "abcdefg");
  EXPECT_EQ(field, "abcde");
  EXPECT_EQ(ReadPaddedText(std::string_view(" a b  ")), " a b");
  EXPECT_EQ(ReadPaddedText(Bytes({'x', 0, 0})), "x");
  EXPECT_EQ(ReadPaddedText(std::string_view("    ")), "");

  std::string name(6, '?');
  WriteNulPadded(name, "COD");
  EXPECT_EQ(name, Bytes({'C', 'O', 'D', 0, 0, 0}));
  EXPECT_EQ(ReadNulPadded(Bytes({'A', 'B', 0, 'Z'})), "AB");
  EXPECT_EQ(ReadNulPadded(std::string_view("FULL")), "FULL");
}

}  // namespace
}  // namespace transzendal::dbf
