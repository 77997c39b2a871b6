#include "dbf_bytes.h"

namespace transzendal::testing {
namespace {

void PutLittle(std::string& bytes, std::size_t offset, std::uint32_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

}  // namespace

std::string DbfBytes(const RawTable& table) {
  const bool level7 = (table.version & 0x07) == 4;
  const std::size_t fixed = level7 ? 68 : 32;
  const std::size_t descriptor = level7 ? 48 : 32;
  const std::size_t header_length =
      fixed + descriptor * table.fields.size() + 1 + table.header_padding;
  std::size_t record_length = 1;
  for (const RawField& field : table.fields) record_length += field.width;

  std::string bytes(header_length, '\0');
  bytes[0] = static_cast<char>(table.version);
  bytes[1] = static_cast<char>(124);  // 2024
  bytes[2] = 3;
  bytes[3] = 5;
  PutLittle(bytes, 4, static_cast<std::uint32_t>(table.records.size()), 4);
  PutLittle(bytes, 8, static_cast<std::uint32_t>(header_length), 2);
  PutLittle(bytes, 10, static_cast<std::uint32_t>(record_length), 2);
  bytes[29] = static_cast<char>(table.driver_id);
  if (level7) bytes.replace(32, table.driver_name.size(), table.driver_name);
  std::size_t at = fixed;
  for (const RawField& field : table.fields) {
    bytes.replace(at, field.name.size(), field.name);
    const std::size_t type_at = level7 ? 32 : 11;
    bytes[at + type_at] = field.type;
    bytes[at + type_at + (level7 ? 1 : 5)] = static_cast<char>(field.width);
    bytes[at + type_at + (level7 ? 2 : 6)] = static_cast<char>(field.decimals);
    at += descriptor;
  }
  bytes[at] = 0x0D;
  for (const std::string& record : table.records) bytes += record;
  if (table.end_marker) bytes += '\x1A';
  return bytes;
}

std::string Padded(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int value : values) out += static_cast<char>(value);
  return out;
}

}  // namespace transzendal::testing
