// How values sit in the bytes of a dBase file: integers of either byte order, the level-7 codings
// of integers and doubles, the FoxPro ones, and padded text. The only code that takes bytes apart.
//
// Every function reads or writes inside the span it is given; a span too short for the value is a
// programming error and throws std::out_of_range, so no call ever touches memory outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace transzendal::dbf {

// The `size` bytes at `offset`, checked against the span.
std::span<const char> Slice(std::span<const char> bytes, std::size_t offset, std::size_t size);
std::span<char> Slice(std::span<char> bytes, std::size_t offset, std::size_t size);

std::uint16_t ReadLittle16(std::span<const char> bytes, std::size_t offset);
std::uint32_t ReadLittle32(std::span<const char> bytes, std::size_t offset);
void WriteLittle16(std::span<char> bytes, std::size_t offset, std::uint16_t value);
void WriteLittle32(std::span<char> bytes, std::size_t offset, std::uint32_t value);

std::uint32_t ReadBig32(std::span<const char> bytes, std::size_t offset);
std::uint64_t ReadBig64(std::span<const char> bytes, std::size_t offset);
void WriteBig32(std::span<char> bytes, std::size_t offset, std::uint32_t value);
void WriteBig64(std::span<char> bytes, std::size_t offset, std::uint64_t value);

// Level-7 integer (`I`, `+`): big-endian with the sign bit inverted, so 0 is 80 00 00 00 and the
// bytes sort like the numbers. Four zero bytes are null; that is why -2147483648 has no coding.
std::optional<std::int32_t> DecodeLevel7Integer(std::span<const char> four);
// Writes `value` (nothing = null). Throws std::invalid_argument for -2147483648.
void EncodeLevel7Integer(std::optional<std::int32_t> value, std::span<char> four);

// Level-7 double (`O`): the IEEE bits big-endian, with the sign bit set for zero and positive
// numbers and every bit inverted for negative ones. Eight zero bytes are null. Negative zero is
// written as zero.
std::optional<double> DecodeLevel7Double(std::span<const char> eight);
void EncodeLevel7Double(std::optional<double> value, std::span<char> eight);

// FoxPro codings: `I` little-endian two's complement, `B` a little-endian IEEE double.
std::int32_t DecodeFoxProInteger(std::span<const char> four);
double DecodeFoxProDouble(std::span<const char> eight);

// A text field without the blanks (and NULs, which some writers pad with) that fill it on the
// right.
std::string_view ReadPaddedText(std::span<const char> field);
// Fills the whole field: `text` cut to the field's width, then blanks.
void WritePaddedText(std::span<char> field, std::string_view text);

// A name stored NUL-padded (field names, the language driver): the bytes before the first NUL.
std::string_view ReadNulPadded(std::span<const char> area);
// Fills the whole area: `text` cut to its size, then NULs.
void WriteNulPadded(std::span<char> area, std::string_view text);

}  // namespace transzendal::dbf
