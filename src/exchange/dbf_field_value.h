// One field of a record in memory: its stored bytes decoded into a value, and values stored into
// it. The table layer (exchange_table.h) turns these values into the texts and numbers its callers
// read, and checks what may be stored where.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "code_page.h"
#include "dbf_structure.h"

namespace transzendal::dbf {

struct FieldValue {
  enum class Kind {
    kNull,       // an empty field, and every memo field
    kText,       // C: the text without its padding, in Windows-1252
    kNumber,     // N, F, O and FoxPro B
    kInteger,    // I and +
    kBoolean,    // L
    kDate,       // D: "YYYY-MM-DD", or the stored text when it is no such date
    kBadNumber,  // N or F holding something that is no number: `text` is what it holds
  };
  Kind kind = Kind::kNull;
  std::string text;
  double number = 0;
  std::int32_t integer = 0;
  bool boolean = false;
};

// Decodes `field` of `record` (a whole record, deletion flag included) of a table of `family` whose
// text is in `code_page`.
FieldValue DecodeField(const DbfField& field, std::span<const char> record, DbfFamily family,
                       CodePage code_page);

// Stores into `field` of `record`, level-7 codings. The caller has checked that the field's type
// takes the value: StoreText a C field (cut to its width, blank-padded), StoreInteger an I field
// (not -2147483648), StoreDouble an O field, StoreBoolean an L field. StoreNull empties any field.
void StoreNull(const DbfField& field, std::span<char> record);
void StoreText(const DbfField& field, std::span<char> record, std::string_view text);
void StoreInteger(const DbfField& field, std::span<char> record, std::int32_t value);
void StoreDouble(const DbfField& field, std::span<char> record, double value);
void StoreBoolean(const DbfField& field, std::span<char> record, bool value);

}  // namespace transzendal::dbf
