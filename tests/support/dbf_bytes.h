// Hand-made dBase files for tests: the bytes of a table of any level, built field by field, so that
// tests can write what other programs write and then tamper with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace transzendal::testing {

struct RawField {
  std::string name;
  char type = 'C';
  std::uint8_t width = 1;
  std::uint8_t decimals = 0;
};

struct RawTable {
  std::uint8_t version = 0x03;  // 0x04 and 0x8C give 48-byte level-7 descriptors
  std::uint8_t driver_id = 0;   // byte 29
  std::string driver_name;      // level 7, at byte 32
  std::vector<RawField> fields;
  std::vector<std::string> records;  // whole records, deletion flag first
  bool end_marker = true;            // 0x1A after the last record
  std::size_t header_padding = 0;    // zero bytes after the terminator (FoxPro's backlink)
};

// The file's bytes: header with the record count, header length and record length worked out from
// `table`, the date 2024-03-05, the descriptors and the 0x0D terminator, then the records.
std::string DbfBytes(const RawTable& table);

// `text` cut or blank-padded to `width` bytes: a C field's bytes.
std::string Padded(std::string_view text, std::size_t width);

// Bytes from their values, so that zero bytes and high bytes read plainly in a test.
std::string Bytes(std::initializer_list<int> values);

}  // namespace transzendal::testing
