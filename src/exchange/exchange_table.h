// ExchangeTable: a handle on one dBase table, with the operations the runs perform on the timetable
// program's tables. Tables are created at dBase level 7; any common dBase file can be opened and
// read. The handle owns its open file and a copy of the table's records in memory: posted changes
// reach the file when the table is closed, in one write.
//
// Texts crossing this interface are Windows-1252. Every failure throws RunError naming the table
// (and the record and field where there is one).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "dbf_structure.h"

namespace transzendal {

// The logical field types of a new table and what they become: string n -> C of width n, boolean
// -> L, integer -> I (4 bytes), float -> O (8 bytes).
enum class LogicalType { kString, kBoolean, kInteger, kFloat };

struct FieldDefinition {
  std::string name;  // letters, digits and "_", at most 31 characters; written upper-case
  LogicalType type = LogicalType::kString;
  std::size_t size = 0;  // strings only: the width in bytes, 1 to 254
};

enum class TableAccess {
  kRead,       // reading only; other programs may use the table meanwhile (the tabla command)
  kShared,     // reading and writing; other programs may use the table meanwhile (the builders)
  kExclusive,  // reading and writing; no other program may open the table meanwhile
};

class ExchangeTable {
 public:
  // Deletes the table's .DBF file, then its .MDX file, in `directory`, in whatever letter case
  // their names are written. A missing file, or one that can't be deleted, is no error here.
  static void DeleteFiles(const std::filesystem::path& directory, std::string_view name);

  // Creates the empty table NAME.DBF in `directory` with `fields` in this order, dated `date`,
  // replacing the table's files in any letter case, a stale .MDX included; it writes no index.
  // Throws when the definition is invalid, an old file is held elsewhere or the file can't be
  // written.
  static void Create(const std::filesystem::path& directory, std::string_view name,
                     std::span<const FieldDefinition> fields, std::chrono::year_month_day date);

  // Opens the table `name` (with or without ".DBF", its file found whatever the letter case) and
  // goes to its first record. Floats are set from and read as text with `decimal_separator`.
  // Throws when the table does not exist, another program holds it, or its file is damaged.
  static ExchangeTable Open(const std::filesystem::path& directory, std::string_view name,
                            TableAccess access, char decimal_separator);

  ExchangeTable(ExchangeTable&& other) noexcept;
  ExchangeTable& operator=(ExchangeTable&& other) noexcept;
  // Writes what was posted and closes the file, ignoring failures: call Close to hear of them.
  ~ExchangeTable();

  const std::string& name() const;  // "ASIGNOMT"
  const std::filesystem::path& file() const;
  const dbf::DbfStructure& structure() const;
  std::size_t LiveRecordCount() const;  // the records not flagged deleted

  // Navigation in stored order over the records not flagged deleted. Each first posts a pending
  // change. AtEnd is true when the table is empty or the last Next found no further record.
  void First();
  void Next();
  bool AtEnd() const;

  // Goes to the first record, in stored order, whose fields (one name, or several joined by ";")
  // hold exactly these values (whole value, letter case counts; trailing blanks of a value for a
  // character field don't, since the field can't keep them). False leaves the current record.
  // Searches go through an index per field list, built on the first search and kept up to date.
  bool Locate(std::string_view fields, std::span<const std::string_view> values);
  bool Locate(std::string_view fields, std::initializer_list<std::string_view> values);

  // Append starts a new empty record after the last one; Edit lets the current record change. Post
  // stores the record (moving, locating and closing post too). Setting fields needs one of them.
  void Append();
  void Edit();
  void Post();

  // Text into C (cut to the width), O (empty = null, else a number with the decimal separator:
  // "'%s' is not a valid floating point value for field '%s'") and I (empty = null, else a decimal
  // integer); integers into I, O and C (as decimal text); booleans into L.
  void SetText(std::string_view field, std::string_view text);
  void SetInteger(std::string_view field, std::int32_t value);
  void SetBoolean(std::string_view field, bool value);

  // The current record's value as text: C without padding, numbers in shortest form (15 digits),
  // L as "T" or "F", D as YYYY-MM-DD, memo fields and nulls as "". With no current record, "".
  std::string ReadText(std::string_view field) const;
  std::string ReadTextAt(std::size_t field_index) const;  // by position in structure().fields
  // As an integer: numbers rounded half to even, C as the number its text holds, nulls 0.
  std::int32_t ReadInteger(std::string_view field) const;

  // Posts a pending change, writes every change to the file and closes it; later calls do nothing.
  void Close();

 private:
  struct State;
  explicit ExchangeTable(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace transzendal
