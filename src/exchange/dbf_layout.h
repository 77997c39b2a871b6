// The byte layout of dBase table files, written down once for the reader, the writer and the tests.
//
// Offsets count from the start of the file (header) or of a field descriptor. docs/dbase-format.md
// describes the same layout in prose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace transzendal::dbf {

// The first 32 bytes, common to every dBase level.
inline constexpr std::size_t kVersionOffset = 0;
inline constexpr std::size_t kDateOffset = 1;           // year - 1900, month, day: one byte each
inline constexpr std::size_t kRecordCountOffset = 4;    // little-endian, 4 bytes
inline constexpr std::size_t kHeaderLengthOffset = 8;   // little-endian, 2 bytes
inline constexpr std::size_t kRecordLengthOffset = 10;  // little-endian, 2 bytes
inline constexpr std::size_t kLanguageDriverIdOffset = 29;
inline constexpr std::size_t kCommonHeaderSize = 32;

// Level 7: the header goes on with the language driver's name, NUL-padded.
inline constexpr std::size_t kLevel7DriverNameOffset = 32;
inline constexpr std::size_t kLevel7DriverNameSize = 32;
inline constexpr std::size_t kLevel7HeaderSize = 68;

// Field descriptors: 32 bytes up to level 5 and in FoxPro, 48 bytes at level 7.
inline constexpr std::size_t kShortDescriptorSize = 32;
inline constexpr std::size_t kShortNameSize = 11;
inline constexpr std::size_t kShortTypeOffset = 11;
inline constexpr std::size_t kShortWidthOffset = 16;
inline constexpr std::size_t kShortDecimalsOffset = 17;
inline constexpr std::size_t kLevel7DescriptorSize = 48;
inline constexpr std::size_t kLevel7NameSize = 32;
inline constexpr std::size_t kLevel7TypeOffset = 32;
inline constexpr std::size_t kLevel7WidthOffset = 33;
inline constexpr std::size_t kLevel7DecimalsOffset = 34;

// Visual FoxPro keeps a 263-byte backlink after the descriptor terminator, inside the header.
inline constexpr std::size_t kFoxProBacklinkSize = 263;

inline constexpr char kDescriptorTerminator = 0x0D;
inline constexpr char kEndOfFile = 0x1A;

// The deletion flag, the first byte of every record.
inline constexpr char kActiveRecord = ' ';
inline constexpr char kDeletedRecord = '*';
inline constexpr std::size_t kDeletionFlagSize = 1;

// Version bytes (byte 0). Levels 3 to 5 share one layout and are told apart by the low three bits
// (3 or 5, the high bits flag memo files and the like); level 7 has 4 there.
inline constexpr std::uint8_t kLevel7Version = 0x04;
inline constexpr std::uint8_t kLevel7WithMemoVersion = 0x8C;
inline constexpr std::uint8_t kVersionLevelMask = 0x07;
inline constexpr std::uint8_t kFoxPro2Version = 0xF5;
inline constexpr std::uint8_t kFoxBaseVersion = 0xFB;
inline constexpr std::uint8_t kVisualFoxProVersion = 0x30;
inline constexpr std::uint8_t kVisualFoxProAutoIncrementVersion = 0x31;
inline constexpr std::uint8_t kVisualFoxProVarcharVersion = 0x32;

// The language driver of every table we write: Windows ANSI, Western Europe (Windows-1252).
inline constexpr std::string_view kWesternEuropeDriver = "DBWINWE0";

// Field type letters.
inline constexpr char kCharacter = 'C';
inline constexpr char kNumeric = 'N';
inline constexpr char kFloatText = 'F';  // a decimal number as text, like N
inline constexpr char kLogical = 'L';
inline constexpr char kDate = 'D';     // YYYYMMDD as text
inline constexpr char kInteger = 'I';  // 4 bytes; coding depends on the level
inline constexpr char kAutoIncrement = '+';
inline constexpr char kDouble = 'O';          // level 7: 8 bytes, order-preserving coding
inline constexpr char kBinaryOrDouble = 'B';  // FoxPro: a little-endian double; dBase: a memo
inline constexpr char kMemo = 'M';
inline constexpr char kGeneral = 'G';
inline constexpr char kPicture = 'P';
inline constexpr char kNullFlags = '0';  // Visual FoxPro's hidden _NullFlags field

// Widths that the binary types must have.
inline constexpr std::size_t kLogicalWidth = 1;
inline constexpr std::size_t kDateWidth = 8;
inline constexpr std::size_t kIntegerWidth = 4;
inline constexpr std::size_t kDoubleWidth = 8;

// Largest widths: a character field holds at most 254 bytes, a record at most 65535.
inline constexpr std::size_t kMaxCharacterWidth = 254;
inline constexpr std::size_t kMaxRecordLength = 65535;
inline constexpr std::size_t kMaxLevel7NameLength = 31;

}  // namespace transzendal::dbf
