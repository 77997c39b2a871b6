#include "byte_coding.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace transzendal::dbf {
namespace {

constexpr std::uint32_t kSign32 = 0x80000000u;
constexpr std::uint64_t kSign64 = 0x8000000000000000u;

void Require(std::size_t size, std::size_t offset, std::size_t width) {
  if (offset > size || width > size - offset)
    throw std::out_of_range("dBase value outside its bytes");
}

std::uint8_t ByteAt(std::span<const char> bytes, std::size_t index) {
  return static_cast<std::uint8_t>(bytes[index]);
}

// Unsigned value of `width` bytes, most significant first or last.
std::uint64_t ReadUnsigned(std::span<const char> bytes, std::size_t offset, std::size_t width,
                           bool big_endian) {
  Require(bytes.size(), offset, width);
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    const std::size_t index = big_endian ? offset + i : offset + width - 1 - i;
    value = (value << 8) | ByteAt(bytes, index);
  }
  return value;
}

void WriteUnsigned(std::span<char> bytes, std::size_t offset, std::size_t width, bool big_endian,
                   std::uint64_t value) {
  Require(bytes.size(), offset, width);
  for (std::size_t i = 0; i < width; ++i) {
    const std::size_t index = big_endian ? offset + width - 1 - i : offset + i;
    bytes[index] = static_cast<char>(static_cast<std::uint8_t>(value & 0xFFu));
    value >>= 8;
  }
}

bool AllZero(std::span<const char> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

}  // namespace

std::span<const char> Slice(std::span<const char> bytes, std::size_t offset, std::size_t size) {
  Require(bytes.size(), offset, size);
  return bytes.subspan(offset, size);
}

std::span<char> Slice(std::span<char> bytes, std::size_t offset, std::size_t size) {
  Require(bytes.size(), offset, size);
  return bytes.subspan(offset, size);
}

std::uint16_t ReadLittle16(std::span<const char> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(ReadUnsigned(bytes, offset, 2, false));
}

std::uint32_t ReadLittle32(std::span<const char> bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(ReadUnsigned(bytes, offset, 4, false));
}

void WriteLittle16(std::span<char> bytes, std::size_t offset, std::uint16_t value) {
  WriteUnsigned(bytes, offset, 2, false, value);
}

void WriteLittle32(std::span<char> bytes, std::size_t offset, std::uint32_t value) {
  WriteUnsigned(bytes, offset, 4, false, value);
}

std::uint32_t ReadBig32(std::span<const char> bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(ReadUnsigned(bytes, offset, 4, true));
}

std::uint64_t ReadBig64(std::span<const char> bytes, std::size_t offset) {
  return ReadUnsigned(bytes, offset, 8, true);
}

void WriteBig32(std::span<char> bytes, std::size_t offset, std::uint32_t value) {
  WriteUnsigned(bytes, offset, 4, true, value);
}

void WriteBig64(std::span<char> bytes, std::size_t offset, std::uint64_t value) {
  WriteUnsigned(bytes, offset, 8, true, value);
}

std::optional<std::int32_t> DecodeLevel7Integer(std::span<const char> four) {
  Require(four.size(), 0, 4);
  if (AllZero(four.first(4))) return std::nullopt;
  return std::bit_cast<std::int32_t>(ReadBig32(four, 0) ^ kSign32);
}

void EncodeLevel7Integer(std::optional<std::int32_t> value, std::span<char> four) {
  if (value && *value == INT32_MIN) {
    throw std::invalid_argument("-2147483648 has no level-7 coding");
  }
  WriteBig32(four, 0, value ? std::bit_cast<std::uint32_t>(*value) ^ kSign32 : 0u);
}

std::optional<double> DecodeLevel7Double(std::span<const char> eight) {
  Require(eight.size(), 0, 8);
  if (AllZero(eight.first(8))) return std::nullopt;
  const std::uint64_t stored = ReadBig64(eight, 0);
  const std::uint64_t bits = (stored & kSign64) != 0 ? stored & ~kSign64 : ~stored;
  return std::bit_cast<double>(bits);
}

void EncodeLevel7Double(std::optional<double> value, std::span<char> eight) {
  if (!value) {
    WriteBig64(eight, 0, 0);
    return;
  }
  // Adding 0.0 turns -0.0 into +0.0: zero is written as zero, with the sign bit set.
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(*value + 0.0);
  WriteBig64(eight, 0, (bits & kSign64) != 0 ? ~bits : bits | kSign64);
}

std::int32_t DecodeFoxProInteger(std::span<const char> four) {
  return std::bit_cast<std::int32_t>(ReadLittle32(four, 0));
}

double DecodeFoxProDouble(std::span<const char> eight) {
  return std::bit_cast<double>(ReadUnsigned(eight, 0, 8, false));
}

std::string_view ReadPaddedText(std::span<const char> field) {
  std::size_t end = field.size();
  while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == '\0')) --end;
  return std::string_view(field.data(), end);
}

void WritePaddedText(std::span<char> field, std::string_view text) {
  const std::size_t kept = std::min(field.size(), text.size());
  std::copy_n(text.begin(), kept, field.begin());
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(kept), field.end(), ' ');
}

std::string_view ReadNulPadded(std::span<const char> area) {
  const auto nul = std::find(area.begin(), area.end(), '\0');
  return std::string_view(area.data(), static_cast<std::size_t>(nul - area.begin()));
}

void WriteNulPadded(std::span<char> area, std::string_view text) {
  const std::size_t kept = std::min(area.size(), text.size());
  std::copy_n(text.begin(), kept, area.begin());
  std::fill(area.begin() + static_cast<std::ptrdiff_t>(kept), area.end(), '\0');
}

}  // namespace transzendal::dbf
