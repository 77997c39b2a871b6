#include "dbf_field_value.h"

#include <algorithm>
#include <optional>

#include "byte_coding.h"
#include "dbf_layout.h"
#include "number_format.h"
#include "text.h"

namespace transzendal::dbf {
namespace {

FieldValue Null() { return {}; }

FieldValue Text(FieldValue::Kind kind, std::string text) {
  FieldValue value;
  value.kind = kind;
  value.text = std::move(text);
  return value;
}

FieldValue Number(double number) {
  FieldValue value;
  value.kind = FieldValue::Kind::kNumber;
  value.number = number;
  return value;
}

FieldValue Integer(std::int32_t integer) {
  FieldValue value;
  value.kind = FieldValue::Kind::kInteger;
  value.integer = integer;
  return value;
}

// N and F hold the number as text, always with a point, right-aligned in blanks.
FieldValue DecodeNumberText(std::span<const char> bytes) {
  const std::string_view stored = Trim(std::string_view(bytes.data(), bytes.size()));
  if (stored.empty()) return Null();
  const std::optional<double> number = ParseDecimal(stored, '.');
  if (!number) return Text(FieldValue::Kind::kBadNumber, std::string(stored));
  return Number(*number);
}

FieldValue DecodeLogical(std::span<const char> bytes) {
  switch (bytes[0]) {
    case 'T':
    case 't':
    case 'Y':
    case 'y': {
      FieldValue value;
      value.kind = FieldValue::Kind::kBoolean;
      value.boolean = true;
      return value;
    }
    case 'F':
    case 'f':
    case 'N':
    case 'n': {
      FieldValue value;
      value.kind = FieldValue::Kind::kBoolean;
      return value;
    }
    default:
      return Null();  // blank or '?': not set
  }
}

FieldValue DecodeDate(std::span<const char> bytes) {
  const std::string_view stored = Trim(std::string_view(bytes.data(), bytes.size()));
  if (stored.empty()) return Null();
  const bool digits =
      stored.size() == kDateWidth &&
      std::all_of(stored.begin(), stored.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!digits) return Text(FieldValue::Kind::kDate, std::string(stored));
  std::string iso(stored.substr(0, 4));
  iso += '-';
  iso += stored.substr(4, 2);
  iso += '-';
  iso += stored.substr(6, 2);
  return Text(FieldValue::Kind::kDate, std::move(iso));
}

bool IsBinary(char type) { return type == kInteger || type == kAutoIncrement || type == kDouble; }

}  // namespace

FieldValue DecodeField(const DbfField& field, std::span<const char> record, DbfFamily family,
                       CodePage code_page) {
  const std::span<const char> bytes = Slice(record, field.offset, field.width);
  const bool fox = family == DbfFamily::kFoxPro;
  switch (field.type) {
    case kCharacter: {
      const std::string_view text = ReadPaddedText(bytes);
      return Text(FieldValue::Kind::kText, ToWindows1252(text, code_page));
    }
    case kNumeric:
    case kFloatText:
      return DecodeNumberText(bytes);
    case kLogical:
      return DecodeLogical(bytes);
    case kDate:
      return DecodeDate(bytes);
    case kInteger:
    case kAutoIncrement: {
      if (fox) return Integer(DecodeFoxProInteger(bytes));
      const std::optional<std::int32_t> value = DecodeLevel7Integer(bytes);
      return value ? Integer(*value) : Null();
    }
    case kDouble: {
      const std::optional<double> value = DecodeLevel7Double(bytes);
      return value ? Number(*value) : Null();
    }
    case kBinaryOrDouble:
      if (fox) return Number(DecodeFoxProDouble(bytes));
      return Null();  // a dBase binary memo: memo contents are not read
    default:
      return Null();  // memo, general, picture, FoxPro's null flags
  }
}

void StoreNull(const DbfField& field, std::span<char> record) {
  const std::span<char> bytes = Slice(record, field.offset, field.width);
  // Binary types are null as zero bytes; every text type as blanks.
  std::fill(bytes.begin(), bytes.end(), IsBinary(field.type) ? '\0' : ' ');
}

void StoreText(const DbfField& field, std::span<char> record, std::string_view text) {
  WritePaddedText(Slice(record, field.offset, field.width), text);
}

void StoreInteger(const DbfField& field, std::span<char> record, std::int32_t value) {
  EncodeLevel7Integer(value, Slice(record, field.offset, field.width));
}

void StoreDouble(const DbfField& field, std::span<char> record, double value) {
  EncodeLevel7Double(value, Slice(record, field.offset, field.width));
}

void StoreBoolean(const DbfField& field, std::span<char> record, bool value) {
  Slice(record, field.offset, field.width)[0] = value ? 'T' : 'F';
}

}  // namespace transzendal::dbf
