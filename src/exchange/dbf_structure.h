// The structure of a dBase table as its header describes it: the level, the language driver, the
// record count and lengths, and the fields with their places in a record. Reading checks the header
// against the file, so that every record the structure promises lies inside the file.
//
// Values are plain data; the table (exchange_table.h) owns one per open file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "code_page.h"

namespace transzendal::dbf {

// Levels 3 to 5 (32-byte descriptors), level 7 (48-byte descriptors), FoxPro 2 and Visual FoxPro
// (32-byte descriptors, little-endian binary fields).
enum class DbfFamily { kDbase, kLevel7, kFoxPro };

struct DbfField {
  std::string name;  // as stored, without its NUL padding
  char type = 'C';
  std::size_t width = 0;
  std::size_t decimals = 0;
  std::size_t offset = 0;  // from the start of the record; the deletion flag is byte 0
  bool hidden = false;     // FoxPro's _NullFlags: part of the record, not a field for the user
};

struct HeaderDate {
  int year = 1900;
  unsigned month = 0;
  unsigned day = 0;
};

struct DbfStructure {
  std::uint8_t version = 0;
  DbfFamily family = DbfFamily::kDbase;
  HeaderDate last_update;
  std::uint8_t driver_id = 0;  // byte 29
  std::string driver_name;     // level 7 only
  LanguageDriver driver;
  std::uint32_t record_count = 0;
  std::size_t header_length = 0;
  std::size_t record_length = 0;
  std::vector<DbfField> fields;
};

// The most header bytes a file can have (its length field has 16 bits): what ReadStructure needs.
inline constexpr std::size_t kMaxHeaderLength = 65535;

// Reads the structure from `start`, the first min(file size, kMaxHeaderLength) bytes of a file of
// `file_size` bytes, and checks it against the file: header length, descriptors, field types and
// widths, record length and that the announced records are all there. Throws RunError naming
// `file_label` and what is wrong.
DbfStructure ReadStructure(std::span<const char> start, std::uint64_t file_size,
                           std::string_view file_label);

// A level-7 structure for `fields` (name, type, width and decimals set; offsets are filled in), no
// records, language driver DBWINWE0, dated `date`.
DbfStructure Level7Structure(std::vector<DbfField> fields, HeaderDate date);

// The header bytes of a level-7 structure: 68 header bytes, 48 per field, the terminator.
std::string EncodeLevel7Header(const DbfStructure& structure);

// "dBase III, IV o V", "dBase 7", "FoxPro" or "Visual FoxPro".
std::string_view FamilyName(const DbfStructure& structure);

}  // namespace transzendal::dbf
