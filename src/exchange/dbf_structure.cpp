#include "dbf_structure.h"

#include <optional>

#include "byte_coding.h"
#include "dbf_layout.h"
#include "messages.h"
#include "run_error.h"
#include "text.h"

namespace transzendal::dbf {
namespace {

[[noreturn]] void Damaged(std::string_view file_label, const std::string& what) {
  throw RunError(msg::FillMessage(msg::kTableDamaged, {file_label, what}),
                 ErrorContext{std::string(file_label), {}, {}, {}});
}

std::string Hex(std::uint8_t byte) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

// A type letter as a message can show it: the letter, or its code when it is no printable ASCII.
std::string TypeForMessage(char type) {
  const auto byte = static_cast<std::uint8_t>(type);
  if (byte > 32 && byte < 127) return std::string(1, type);
  return "0x" + Hex(byte);
}

std::optional<DbfFamily> FamilyOf(std::uint8_t version) {
  if (version == kVisualFoxProVersion || version == kVisualFoxProAutoIncrementVersion ||
      version == kVisualFoxProVarcharVersion || version == kFoxPro2Version ||
      version == kFoxBaseVersion) {
    return DbfFamily::kFoxPro;
  }
  const std::uint8_t level = version & kVersionLevelMask;
  if (level == 4) return DbfFamily::kLevel7;
  if (level == 3 || level == 5) return DbfFamily::kDbase;
  return std::nullopt;
}

// The width that a binary type requires; nothing for types whose width the file chooses.
std::optional<std::size_t> RequiredWidth(char type, DbfFamily family) {
  switch (type) {
    case kLogical:
      return kLogicalWidth;
    case kDate:
      return kDateWidth;
    case kInteger:
    case kAutoIncrement:
      return kIntegerWidth;
    case kDouble:
      return kDoubleWidth;
    case kBinaryOrDouble:
      if (family == DbfFamily::kFoxPro) return kDoubleWidth;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

bool IsKnownType(char type, DbfFamily family) {
  switch (type) {
    case kCharacter:
    case kNumeric:
    case kFloatText:
    case kLogical:
    case kDate:
    case kInteger:
    case kAutoIncrement:
    case kDouble:
    case kBinaryOrDouble:
    case kMemo:
    case kGeneral:
    case kPicture:
      return true;
    case kNullFlags:
      return family == DbfFamily::kFoxPro;
    default:
      return false;
  }
}

DbfField ReadDescriptor(std::span<const char> descriptor, DbfFamily family,
                        std::string_view file_label) {
  const bool level7 = family == DbfFamily::kLevel7;
  DbfField field;
  const std::size_t name_size = level7 ? kLevel7NameSize : kShortNameSize;
  field.name = std::string(TrimTrailingBlanks(ReadNulPadded(descriptor.first(name_size))));
  field.type = descriptor[level7 ? kLevel7TypeOffset : kShortTypeOffset];
  field.width =
      static_cast<std::uint8_t>(descriptor[level7 ? kLevel7WidthOffset : kShortWidthOffset]);
  field.decimals =
      static_cast<std::uint8_t>(descriptor[level7 ? kLevel7DecimalsOffset : kShortDecimalsOffset]);
  field.hidden = field.type == kNullFlags;

  const std::string name = Windows1252ToUtf8(field.name);
  if (!IsKnownType(field.type, family)) {
    Damaged(file_label,
            msg::FillMessage(msg::kDbfUnknownFieldType, {name, TypeForMessage(field.type)}));
  }
  const std::optional<std::size_t> required = RequiredWidth(field.type, family);
  if (required && field.width != *required) {
    Damaged(file_label, msg::FillMessage(msg::kDbfWrongWidth,
                                         {name, TypeForMessage(field.type),
                                          std::to_string(field.width), std::to_string(*required)}));
  }
  if (field.width == 0) Damaged(file_label, msg::FillMessage(msg::kDbfZeroWidth, {name}));
  return field;
}

}  // namespace

DbfStructure ReadStructure(std::span<const char> start, std::uint64_t file_size,
                           std::string_view file_label) {
  if (start.size() < kCommonHeaderSize) {
    Damaged(file_label, msg::FillMessage(msg::kDbfShorterThanHeader, {std::to_string(file_size)}));
  }
  DbfStructure structure;
  structure.version = static_cast<std::uint8_t>(start[kVersionOffset]);
  const std::optional<DbfFamily> family = FamilyOf(structure.version);
  if (!family) {
    Damaged(file_label, msg::FillMessage(msg::kDbfUnknownVersion, {Hex(structure.version)}));
  }
  structure.family = *family;
  structure.last_update = {1900 + static_cast<std::uint8_t>(start[kDateOffset]),
                           static_cast<std::uint8_t>(start[kDateOffset + 1]),
                           static_cast<std::uint8_t>(start[kDateOffset + 2])};
  structure.record_count = ReadLittle32(start, kRecordCountOffset);
  structure.header_length = ReadLittle16(start, kHeaderLengthOffset);
  structure.record_length = ReadLittle16(start, kRecordLengthOffset);
  structure.driver_id = static_cast<std::uint8_t>(start[kLanguageDriverIdOffset]);

  const bool level7 = structure.family == DbfFamily::kLevel7;
  const std::size_t descriptors_start = level7 ? kLevel7HeaderSize : kCommonHeaderSize;
  const std::size_t descriptor_size = level7 ? kLevel7DescriptorSize : kShortDescriptorSize;
  const std::size_t length = structure.header_length;
  if (length > file_size || length > start.size()) {
    Damaged(file_label, msg::FillMessage(msg::kDbfHeaderBeyondFile,
                                         {std::to_string(length), std::to_string(file_size)}));
  }
  // The shortest header: the fixed part, one descriptor and the terminator.
  const std::size_t minimum = descriptors_start + descriptor_size + 1;
  if (length < minimum) {
    Damaged(file_label, msg::FillMessage(msg::kDbfHeaderTooShort,
                                         {std::to_string(length), std::to_string(minimum)}));
  }
  const std::span<const char> header = start.first(length);
  if (level7) {
    structure.driver_name =
        std::string(ReadNulPadded(header.subspan(kLevel7DriverNameOffset, kLevel7DriverNameSize)));
    structure.driver = DriverFromName(structure.driver_name, structure.driver_id);
  } else {
    structure.driver = DriverFromId(structure.driver_id);
  }

  // Descriptors up to the terminator; a header they fill exactly may lack it.
  std::size_t record_length = kDeletionFlagSize;
  for (std::size_t at = descriptors_start; at < length && header[at] != kDescriptorTerminator;
       at += descriptor_size) {
    if (descriptor_size > length - at) Damaged(file_label, std::string(msg::kDbfDescriptorsCut));
    DbfField field =
        ReadDescriptor(header.subspan(at, descriptor_size), structure.family, file_label);
    field.offset = record_length;
    record_length += field.width;
    structure.fields.push_back(std::move(field));
  }
  if (structure.fields.empty()) Damaged(file_label, std::string(msg::kDbfNoFields));
  if (record_length != structure.record_length) {
    Damaged(file_label, msg::FillMessage(msg::kDbfRecordLengthMismatch,
                                         {std::to_string(structure.record_length),
                                          std::to_string(record_length)}));
  }
  // Every announced record must lie inside the file: then no read ever leaves it.
  const std::uint64_t complete = (file_size - length) / structure.record_length;
  if (structure.record_count > complete) {
    Damaged(file_label,
            msg::FillMessage(msg::kDbfRecordsMissing,
                             {std::to_string(structure.record_count), std::to_string(complete)}));
  }
  return structure;
}

DbfStructure Level7Structure(std::vector<DbfField> fields, HeaderDate date) {
  DbfStructure structure;
  structure.version = kLevel7Version;
  structure.family = DbfFamily::kLevel7;
  structure.last_update = date;
  structure.driver_name = std::string(kWesternEuropeDriver);
  structure.driver = {CodePage::kWindows1252, true};
  structure.header_length = kLevel7HeaderSize + kLevel7DescriptorSize * fields.size() + 1;
  std::size_t offset = kDeletionFlagSize;
  for (DbfField& field : fields) {
    field.offset = offset;
    offset += field.width;
  }
  structure.record_length = offset;
  structure.fields = std::move(fields);
  return structure;
}

std::string EncodeLevel7Header(const DbfStructure& structure) {
  std::string bytes(structure.header_length, '\0');
  const std::span<char> header(bytes);
  header[kVersionOffset] = static_cast<char>(structure.version);
  header[kDateOffset] = static_cast<char>(structure.last_update.year - 1900);
  header[kDateOffset + 1] = static_cast<char>(structure.last_update.month);
  header[kDateOffset + 2] = static_cast<char>(structure.last_update.day);
  WriteLittle32(header, kRecordCountOffset, structure.record_count);
  WriteLittle16(header, kHeaderLengthOffset, static_cast<std::uint16_t>(structure.header_length));
  WriteLittle16(header, kRecordLengthOffset, static_cast<std::uint16_t>(structure.record_length));
  WriteNulPadded(header.subspan(kLevel7DriverNameOffset, kLevel7DriverNameSize),
                 structure.driver_name);
  std::size_t at = kLevel7HeaderSize;
  for (const DbfField& field : structure.fields) {
    const std::span<char> descriptor = header.subspan(at, kLevel7DescriptorSize);
    WriteNulPadded(descriptor.first(kLevel7NameSize), field.name);
    descriptor[kLevel7TypeOffset] = field.type;
    descriptor[kLevel7WidthOffset] = static_cast<char>(field.width);
    descriptor[kLevel7DecimalsOffset] = static_cast<char>(field.decimals);
    at += kLevel7DescriptorSize;
  }
  header[at] = kDescriptorTerminator;
  return bytes;
}

std::string_view FamilyName(const DbfStructure& structure) {
  switch (structure.family) {
    case DbfFamily::kLevel7:
      return msg::kFamilyLevel7;
    case DbfFamily::kFoxPro:
      return structure.version >= kVisualFoxProVersion &&
                     structure.version <= kVisualFoxProVarcharVersion
                 ? msg::kFamilyVisualFoxPro
                 : msg::kFamilyFoxPro;
    case DbfFamily::kDbase:
      break;
  }
  return msg::kFamilyDbase;
}

}  // namespace transzendal::dbf
