#include "exchange_table.h"

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "byte_coding.h"
#include "dbf_field_value.h"
#include "dbf_layout.h"
#include "file_error.h"
#include "locate_index.h"
#include "messages.h"
#include "number_format.h"
#include "number_text.h"
#include "platform.h"
#include "run_error.h"
#include "table_files.h"
#include "text.h"

namespace transzendal {

namespace fs = std::filesystem;
using dbf::DbfField;
using dbf::FieldValue;

namespace {

enum class Mode { kBrowse, kEdit, kInsert };

constexpr std::size_t kMaxLevel7Fields =
    (dbf::kMaxHeaderLength - dbf::kLevel7HeaderSize - 1) / dbf::kLevel7DescriptorSize;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualAsciiIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Upper(c);
  return out;
}

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string Utf8(std::string_view windows1252) { return Windows1252ToUtf8(windows1252); }

std::string TypeName(char type) { return std::string(1, type); }

[[noreturn]] void BadDefinition(std::string_view table, const std::string& what) {
  throw RunError(msg::FillMessage(msg::kTableBadDefinition, {table, what}),
                 ErrorContext{{}, std::string(table), {}, {}});
}

std::vector<DbfField> Level7Fields(std::string_view table,
                                   std::span<const FieldDefinition> fields) {
  if (fields.empty()) BadDefinition(table, std::string(msg::kDefinitionNoFields));
  if (fields.size() > kMaxLevel7Fields) {
    BadDefinition(table,
                  msg::FillMessage(msg::kDefinitionTooWide, {std::to_string(fields.size())}));
  }
  std::vector<DbfField> out;
  std::size_t record_length = dbf::kDeletionFlagSize;
  for (const FieldDefinition& definition : fields) {
    DbfField field;
    field.name = UpperAscii(definition.name);
    const bool good_name = !field.name.empty() && field.name.size() <= dbf::kMaxLevel7NameLength &&
                           std::all_of(field.name.begin(), field.name.end(), IsNameCharacter);
    if (!good_name) {
      BadDefinition(table, msg::FillMessage(msg::kDefinitionBadName, {Utf8(definition.name)}));
    }
    for (const DbfField& earlier : out) {
      if (earlier.name == field.name) {
        BadDefinition(table, msg::FillMessage(msg::kDefinitionRepeatedName, {field.name}));
      }
    }
    switch (definition.type) {
      case LogicalType::kString:
        if (definition.size < 1 || definition.size > dbf::kMaxCharacterWidth) {
          BadDefinition(table, msg::FillMessage(msg::kDefinitionBadWidth,
                                                {field.name, std::to_string(definition.size)}));
        }
        field.type = dbf::kCharacter;
        field.width = definition.size;
        break;
      case LogicalType::kBoolean:
        field.type = dbf::kLogical;
        field.width = dbf::kLogicalWidth;
        break;
      case LogicalType::kInteger:
        field.type = dbf::kInteger;
        field.width = dbf::kIntegerWidth;
        break;
      case LogicalType::kFloat:
        field.type = dbf::kDouble;
        field.width = dbf::kDoubleWidth;
        break;
    }
    record_length += field.width;
    out.push_back(std::move(field));
  }
  if (record_length > dbf::kMaxRecordLength) {
    BadDefinition(table,
                  msg::FillMessage(msg::kDefinitionTooWide, {std::to_string(record_length)}));
  }
  return out;
}

dbf::HeaderDate HeaderDateOf(std::chrono::year_month_day date) {
  return {static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
          static_cast<unsigned>(date.day())};
}

[[noreturn]] void FileFailure(std::string_view pattern, std::string_view table,
                              const fs::path& file, std::error_code error) {
  const std::string path = platform::PathToUtf8(file);
  if (error == platform::HeldElsewhere()) {
    throw RunError(msg::FillMessage(msg::kTableHeld, {table, path}),
                   ErrorContext{path, std::string(table), {}, {}});
  }
  throw RunError(msg::FillMessage(pattern, {table, path, FileErrorText(error)}),
                 ErrorContext{path, std::string(table), {}, {}});
}

// Removes the table file `file_name` in every spelling before a new one is written.
void RemoveOldFile(const fs::path& directory, std::string_view table, std::string_view file_name) {
  const std::error_code error = RemoveEverySpelling(directory, file_name);
  if (!error) return;
  const fs::path entry = FindTableFile(directory, file_name).value_or(directory / file_name);
  if (error == platform::HeldElsewhere()) FileFailure(msg::kTableHeld, table, entry, error);
  const std::string path = platform::PathToUtf8(entry);
  throw RunError(
      msg::FillMessage(msg::kTableOldFileNotRemoved, {path, table, FileErrorText(error)}),
      ErrorContext{path, std::string(table), {}, {}});
}

}  // namespace

struct ExchangeTable::State {
  std::string name;
  fs::path file;
  platform::File handle;
  TableAccess access = TableAccess::kRead;
  char decimal_separator = '.';
  dbf::DbfStructure structure;
  // Invariant: exactly structure.record_count records of structure.record_length bytes, the same
  // as the file from its header on, except for the records from `unwritten_from` on.
  std::vector<char> records;
  std::size_t unwritten_from = 0;
  std::map<std::vector<std::size_t>, LocateIndex> indexes;  // field numbers -> their index
  // The field lists Locate was called with, parsed once: the assignments step searches three
  // tables per session, so the search itself must not allocate.
  struct LocateCall {
    std::string fields;
    std::vector<std::size_t> numbers;
    LocateIndex* index;
  };
  std::vector<LocateCall> locate_calls;
  std::string locate_key;
  mutable std::size_t last_field = 0;    // where FieldNumber found a field last
  std::vector<std::size_t> first_of_name;  // per field, the first field of the same name
  std::optional<std::uint32_t> current;
  bool at_end = true;
  Mode mode = Mode::kBrowse;
  std::vector<char> buffer;  // the record being appended or edited
  bool open = false;

  std::size_t record_length() const { return structure.record_length; }
  std::uint32_t count() const { return structure.record_count; }

  std::span<const char> Record(std::uint32_t record) const {
    return dbf::Slice(std::span<const char>(records), record * record_length(), record_length());
  }
  bool IsLive(std::uint32_t record) const { return Record(record)[0] != dbf::kDeletedRecord; }

  std::optional<std::uint32_t> LiveFrom(std::uint32_t start) const {
    for (std::uint32_t record = start; record < count(); ++record) {
      if (IsLive(record)) return record;
    }
    return std::nullopt;
  }

  // The record that reads and writes see: the one being changed, else the current one.
  std::optional<std::span<const char>> Active() const {
    if (mode != Mode::kBrowse) return std::span<const char>(buffer);
    if (current) return Record(*current);
    return std::nullopt;
  }

  // The 1-based number of the active record, as messages give it.
  std::string RecordNumber() const {
    const std::uint64_t index = mode == Mode::kInsert ? count() : current.value_or(0);
    return std::to_string(index + 1);
  }

  ErrorContext Context(const DbfField& field) const {
    return {platform::PathToUtf8(file), name, RecordNumber(), Utf8(field.name)};
  }

  void RequireOpen() const {
    if (!open)
      throw RunError(msg::FillMessage(msg::kTableClosed, {name}), ErrorContext{{}, name, {}, {}});
  }

  void RequireWritable() const {
    RequireOpen();
    if (access == TableAccess::kRead) {
      throw RunError(msg::FillMessage(msg::kTableReadOnly, {name}), ErrorContext{{}, name, {}, {}});
    }
    if (structure.family != dbf::DbfFamily::kLevel7 ||
        structure.driver.code_page != dbf::CodePage::kWindows1252) {
      throw RunError(msg::FillMessage(msg::kTableNotModifiable,
                                      {name, dbf::FamilyName(structure),
                                       dbf::CodePageName(structure.driver.code_page)}),
                     ErrorContext{{}, name, {}, {}});
    }
  }

  std::size_t FieldNumber(std::string_view field) const {
    RequireOpen();
    // A linear look from the field after the last one found: tables have a few fields, builders
    // set them in order, and this runs for every value set or read.
    const std::string_view wanted = Trim(field);
    const std::size_t count = structure.fields.size();
    for (std::size_t step = 0; step < count; ++step) {
      const std::size_t number = (last_field + 1 + step) % count;
      const DbfField& candidate = structure.fields[number];
      if (!candidate.hidden && EqualAsciiIgnoringCase(candidate.name, wanted)) {
        last_field = number;
        return first_of_name[number];  // a foreign file may name two fields alike: the first counts
      }
    }
    throw RunError(msg::FillMessage(msg::kTableFieldMissing, {name, Utf8(field)}),
                   ErrorContext{{}, name, {}, std::string(Utf8(field))});
  }

  FieldValue Value(std::size_t number) const {
    const std::optional<std::span<const char>> active = Active();
    if (!active) return {};
    return dbf::DecodeField(structure.fields[number], *active, structure.family,
                            structure.driver.code_page);
  }

  // The text that a search compares: what ReadText gives, without failing on damaged numbers.
  std::string MatchText(std::size_t number, std::span<const char> record) const {
    const FieldValue value = dbf::DecodeField(structure.fields[number], record, structure.family,
                                              structure.driver.code_page);
    switch (value.kind) {
      case FieldValue::Kind::kNull:
        return {};
      case FieldValue::Kind::kNumber:
        return FormatShortest(value.number, decimal_separator);
      case FieldValue::Kind::kInteger:
        return std::to_string(value.integer);
      case FieldValue::Kind::kBoolean:
        return value.boolean ? "T" : "F";
      default:
        return value.text;
    }
  }

  std::string IndexKey(const std::vector<std::size_t>& numbers,
                       std::span<const char> record) const {
    std::vector<std::string> values;
    for (std::size_t number : numbers) values.push_back(MatchText(number, record));
    return LocateIndex::Key(values);
  }

  DbfField& FieldForSetting(std::string_view field) {
    const std::size_t number = FieldNumber(field);
    DbfField& found = structure.fields[number];
    if (mode == Mode::kBrowse) {
      throw RunError(msg::FillMessage(msg::kTableNotEditing, {Utf8(found.name), name}),
                     Context(found));
    }
    return found;
  }

  [[noreturn]] void NotAccepted(const DbfField& field, std::string_view kind) const {
    throw RunError(msg::FillMessage(msg::kFieldValueNotAccepted,
                                    {Utf8(field.name), name, TypeName(field.type), kind}),
                   Context(field));
  }

  void StoreInteger(const DbfField& field, std::int32_t value) {
    if (value == INT32_MIN) {
      throw RunError(msg::FillMessage(msg::kIntegerNotStorable, {Utf8(field.name), name}),
                     Context(field));
    }
    dbf::StoreInteger(field, buffer, value);
  }

  void Post() {
    if (mode == Mode::kBrowse) return;
    std::uint32_t record = 0;
    if (mode == Mode::kInsert) {
      record = count();
      for (auto& [numbers, index] : indexes) index.Add(IndexKey(numbers, buffer), record);
      records.insert(records.end(), buffer.begin(), buffer.end());
      ++structure.record_count;
    } else {
      record = *current;
      const std::span<char> stored =
          dbf::Slice(std::span<char>(records), record * record_length(), record_length());
      for (auto& [numbers, index] : indexes) {
        const std::string before = IndexKey(numbers, stored);
        const std::string after = IndexKey(numbers, buffer);
        if (before == after) continue;
        index.Remove(before, record);
        index.Add(after, record);
      }
      std::copy(buffer.begin(), buffer.end(), stored.begin());
    }
    unwritten_from = std::min<std::size_t>(unwritten_from, record);
    current = record;
    mode = Mode::kBrowse;
  }

  const LocateCall& LocateCallFor(std::string_view fields) {
    for (const LocateCall& call : locate_calls) {
      if (call.fields == fields) return call;
    }
    std::vector<std::size_t> numbers;
    for (std::size_t start = 0;;) {
      const std::size_t semicolon = fields.find(';', start);
      numbers.push_back(FieldNumber(fields.substr(start, semicolon - start)));
      if (semicolon == std::string_view::npos) break;
      start = semicolon + 1;
    }
    LocateIndex* index = &IndexFor(numbers);
    return locate_calls.emplace_back(LocateCall{std::string(fields), std::move(numbers), index});
  }

  LocateIndex& IndexFor(const std::vector<std::size_t>& numbers) {
    const auto found = indexes.find(numbers);
    if (found != indexes.end()) return found->second;
    LocateIndex& index = indexes[numbers];
    for (std::uint32_t record = 0; record < count(); ++record) {
      if (IsLive(record)) index.Add(IndexKey(numbers, Record(record)), record);
    }
    return index;
  }

  // Writes the records changed since the last write, the end marker and the record count.
  void Write() {
    if (unwritten_from >= count()) return;
    const std::uint64_t data_start = structure.header_length;
    const std::size_t from_byte = unwritten_from * record_length();
    std::error_code error;
    const std::span<const char> changed = std::span<const char>(records).subspan(from_byte);
    handle.WriteAt(data_start + from_byte, changed, error);
    const char end_marker = dbf::kEndOfFile;
    if (!error)
      handle.WriteAt(data_start + records.size(), std::span<const char>(&end_marker, 1), error);
    char count_bytes[4];
    dbf::WriteLittle32(count_bytes, 0, count());
    if (!error) handle.WriteAt(dbf::kRecordCountOffset, count_bytes, error);
    if (error) FileFailure(msg::kTableNotWritten, name, file, error);
    unwritten_from = count();
  }
};

void ExchangeTable::DeleteFiles(const fs::path& directory, std::string_view name) {
  const std::string table = TableName(name);
  // Not reported, as the table layer promises: a file that stays makes Create or Open fail.
  static_cast<void>(RemoveEverySpelling(directory, DataFileName(table)));
  static_cast<void>(RemoveEverySpelling(directory, IndexFileName(table)));
}

void ExchangeTable::Create(const fs::path& directory, std::string_view name,
                           std::span<const FieldDefinition> fields,
                           std::chrono::year_month_day date) {
  const std::string table = TableName(name);
  const dbf::DbfStructure structure =
      dbf::Level7Structure(Level7Fields(table, fields), HeaderDateOf(date));
  RemoveOldFile(directory, table, DataFileName(table));
  RemoveOldFile(directory, table, IndexFileName(table));

  std::string bytes = dbf::EncodeLevel7Header(structure);
  bytes += dbf::kEndOfFile;  // also an empty table ends with the marker
  const fs::path file = directory / DataFileName(table);
  std::error_code error;
  platform::File handle = platform::File::Open(file, platform::FileAccess::kCreate,
                                               platform::FileSharing::kExclusive, error);
  if (!error) handle.WriteAt(0, bytes, error);
  if (error) FileFailure(msg::kTableNotCreated, table, file, error);
}

ExchangeTable ExchangeTable::Open(const fs::path& directory, std::string_view name,
                                  TableAccess access, char decimal_separator) {
  auto state = std::make_unique<State>();
  state->name = TableName(name);
  state->access = access;
  state->decimal_separator = decimal_separator;
  const std::optional<fs::path> file = FindTableFile(directory, DataFileName(state->name));
  if (!file) {
    throw RunError(
        msg::FillMessage(msg::kTableMissing, {state->name, platform::PathToUtf8(directory)}),
        ErrorContext{{}, state->name, {}, {}});
  }
  state->file = *file;

  std::error_code error;
  state->handle = platform::File::Open(
      state->file,
      access == TableAccess::kRead ? platform::FileAccess::kRead : platform::FileAccess::kReadWrite,
      access == TableAccess::kExclusive ? platform::FileSharing::kExclusive
                                        : platform::FileSharing::kShared,
      error);
  if (error) FileFailure(msg::kTableNotOpened, state->name, state->file, error);
  const std::uint64_t size = state->handle.Size(error);
  if (error) FileFailure(msg::kTableNotRead, state->name, state->file, error);

  std::vector<char> start(
      static_cast<std::size_t>(std::min<std::uint64_t>(size, dbf::kMaxHeaderLength)));
  start.resize(state->handle.ReadAt(0, start, error));
  if (error) FileFailure(msg::kTableNotRead, state->name, state->file, error);
  // The size is the one read above; a file that shrinks meanwhile shows as a short read below.
  state->structure = dbf::ReadStructure(start, size, platform::PathToUtf8(state->file));

  state->records.resize(std::size_t{state->structure.record_count} *
                        state->structure.record_length);
  const std::size_t got =
      state->handle.ReadAt(state->structure.header_length, state->records, error);
  if (error) FileFailure(msg::kTableNotRead, state->name, state->file, error);
  if (got != state->records.size())
    FileFailure(msg::kTableNotRead, state->name, state->file,
                std::make_error_code(std::errc::io_error));
  state->unwritten_from = state->structure.record_count;
  const std::vector<DbfField>& fields = state->structure.fields;
  for (std::size_t number = 0; number < fields.size(); ++number) {
    std::size_t first = number;
    for (std::size_t k = 0; k < number; ++k) {
      if (!fields[k].hidden && EqualAsciiIgnoringCase(fields[k].name, fields[number].name)) {
        first = k;
        break;
      }
    }
    state->first_of_name.push_back(first);
  }

  state->open = true;
  ExchangeTable table(std::move(state));
  table.First();
  return table;
}

ExchangeTable::ExchangeTable(std::unique_ptr<State> state) : state_(std::move(state)) {}
ExchangeTable::ExchangeTable(ExchangeTable&& other) noexcept = default;

ExchangeTable& ExchangeTable::operator=(ExchangeTable&& other) noexcept {
  if (this != &other) {
    ExchangeTable closing(std::move(*this));  // writes and closes the table held so far
    state_ = std::move(other.state_);
  }
  return *this;
}

ExchangeTable::~ExchangeTable() {
  if (!state_ || !state_->open) return;
  // A change never posted is dropped: the run that left it is failing anyway.
  state_->mode = Mode::kBrowse;
  try {
    state_->Write();
  } catch (...) {
    // Close() is where write failures are reported; a destructor must not throw.
  }
  state_->handle.Close();
}

const std::string& ExchangeTable::name() const { return state_->name; }
const fs::path& ExchangeTable::file() const { return state_->file; }
const dbf::DbfStructure& ExchangeTable::structure() const { return state_->structure; }

std::size_t ExchangeTable::LiveRecordCount() const {
  std::size_t live = 0;
  for (std::uint32_t record = 0; record < state_->count(); ++record) {
    if (state_->IsLive(record)) ++live;
  }
  return live;
}

void ExchangeTable::First() {
  state_->RequireOpen();
  state_->Post();
  state_->current = state_->LiveFrom(0);
  state_->at_end = !state_->current;
}

void ExchangeTable::Next() {
  state_->RequireOpen();
  state_->Post();
  const std::optional<std::uint32_t> next =
      state_->current ? state_->LiveFrom(*state_->current + 1) : std::nullopt;
  if (next) state_->current = next;
  state_->at_end = !next;
}

bool ExchangeTable::AtEnd() const { return state_->at_end; }

bool ExchangeTable::Locate(std::string_view fields, std::span<const std::string_view> values) {
  state_->RequireOpen();
  state_->Post();
  const State::LocateCall& call = state_->LocateCallFor(fields);
  if (call.numbers.size() != values.size()) {
    throw RunError(msg::FillMessage(msg::kLocateValueCount,
                                    {state_->name, Utf8(fields), std::to_string(call.numbers.size()),
                                     std::to_string(values.size())}),
                   ErrorContext{{}, state_->name, {}, Utf8(fields)});
  }
  std::string& key = state_->locate_key;
  key.clear();
  for (std::size_t i = 0; i < call.numbers.size(); ++i) {
    const bool character = state_->structure.fields[call.numbers[i]].type == dbf::kCharacter;
    LocateIndex::AppendToKey(character ? TrimTrailingBlanks(values[i]) : values[i], key);
  }
  const std::optional<std::uint32_t> found = call.index->First(key);
  if (!found) return false;
  state_->current = found;
  state_->at_end = false;
  return true;
}

bool ExchangeTable::Locate(std::string_view fields,
                           std::initializer_list<std::string_view> values) {
  return Locate(fields, std::span<const std::string_view>(values.begin(), values.size()));
}

void ExchangeTable::Append() {
  state_->RequireWritable();
  state_->Post();
  if (state_->count() == UINT32_MAX) {
    throw RunError(msg::FillMessage(msg::kTableFull, {state_->name}),
                   ErrorContext{{}, state_->name, {}, {}});
  }
  state_->buffer.assign(state_->record_length(), ' ');
  for (const DbfField& field : state_->structure.fields) dbf::StoreNull(field, state_->buffer);
  state_->buffer[0] = dbf::kActiveRecord;
  state_->mode = Mode::kInsert;
  state_->at_end = false;
}

void ExchangeTable::Edit() {
  state_->RequireWritable();
  if (state_->mode != Mode::kBrowse) return;
  if (!state_->current) {
    throw RunError(msg::FillMessage(msg::kTableNoCurrentRecord, {state_->name}),
                   ErrorContext{{}, state_->name, {}, {}});
  }
  const std::span<const char> record = state_->Record(*state_->current);
  state_->buffer.assign(record.begin(), record.end());
  state_->mode = Mode::kEdit;
}

void ExchangeTable::Post() {
  state_->RequireOpen();
  state_->Post();
}

void ExchangeTable::SetText(std::string_view field, std::string_view text) {
  const DbfField& target = state_->FieldForSetting(field);
  switch (target.type) {
    case dbf::kCharacter:
      dbf::StoreText(target, state_->buffer, text);
      return;
    case dbf::kDouble: {
      if (text.empty()) {
        dbf::StoreNull(target, state_->buffer);
        return;
      }
      const std::optional<double> number = ParseDecimal(text, state_->decimal_separator);
      if (!number) {
        throw RunError(msg::FillMessage(msg::kNotValidFloat, {Utf8(text), Utf8(target.name)}),
                       state_->Context(target));
      }
      dbf::StoreDouble(target, state_->buffer, *number);
      return;
    }
    case dbf::kInteger:
      if (text.empty()) {
        dbf::StoreNull(target, state_->buffer);
        return;
      }
      state_->StoreInteger(target, ParseDecimalInteger(text));
      return;
    default:
      state_->NotAccepted(target, msg::kValueKindText);
  }
}

void ExchangeTable::SetInteger(std::string_view field, std::int32_t value) {
  const DbfField& target = state_->FieldForSetting(field);
  switch (target.type) {
    case dbf::kCharacter:
      dbf::StoreText(target, state_->buffer, std::to_string(value));
      return;
    case dbf::kInteger:
      state_->StoreInteger(target, value);
      return;
    case dbf::kDouble:
      dbf::StoreDouble(target, state_->buffer, value);
      return;
    default:
      state_->NotAccepted(target, msg::kValueKindInteger);
  }
}

void ExchangeTable::SetBoolean(std::string_view field, bool value) {
  const DbfField& target = state_->FieldForSetting(field);
  if (target.type != dbf::kLogical) state_->NotAccepted(target, msg::kValueKindBoolean);
  dbf::StoreBoolean(target, state_->buffer, value);
}

std::string ExchangeTable::ReadText(std::string_view field) const {
  return ReadTextAt(state_->FieldNumber(field));
}

std::string ExchangeTable::ReadTextAt(std::size_t field_index) const {
  state_->RequireOpen();
  if (field_index >= state_->structure.fields.size()) {
    throw std::out_of_range("no field at this position");
  }
  const FieldValue value = state_->Value(field_index);
  switch (value.kind) {
    case FieldValue::Kind::kNull:
      return {};
    case FieldValue::Kind::kNumber:
      return FormatShortest(value.number, state_->decimal_separator);
    case FieldValue::Kind::kInteger:
      return std::to_string(value.integer);
    case FieldValue::Kind::kBoolean:
      return value.boolean ? "T" : "F";
    case FieldValue::Kind::kBadNumber: {
      const DbfField& target = state_->structure.fields[field_index];
      throw RunError(
          msg::FillMessage(msg::kFieldNotNumber, {Utf8(target.name), state_->RecordNumber(),
                                                  state_->name, Utf8(value.text)}),
          state_->Context(target));
    }
    case FieldValue::Kind::kText:
    case FieldValue::Kind::kDate:
      break;
  }
  return value.text;
}

std::int32_t ExchangeTable::ReadInteger(std::string_view field) const {
  const std::size_t number = state_->FieldNumber(field);
  const DbfField& target = state_->structure.fields[number];
  const FieldValue value = state_->Value(number);
  std::optional<double> amount;
  std::string shown;
  switch (value.kind) {
    case FieldValue::Kind::kNull:
      return 0;
    case FieldValue::Kind::kInteger:
      return value.integer;
    case FieldValue::Kind::kNumber:
      amount = value.number;
      shown = FormatShortest(value.number, state_->decimal_separator);
      break;
    case FieldValue::Kind::kText:
    case FieldValue::Kind::kBadNumber:
      if (Trim(value.text).empty()) return 0;  // a blank text is an empty field
      // Text written by another program: a point, or this system's separator.
      amount = ParseDecimal(value.text, '.');
      if (!amount) amount = ParseDecimal(value.text, state_->decimal_separator);
      if (!amount) {
        throw RunError(
            msg::FillMessage(msg::kFieldNotNumber, {Utf8(target.name), state_->RecordNumber(),
                                                    state_->name, Utf8(value.text)}),
            state_->Context(target));
      }
      shown = Utf8(Trim(value.text));
      break;
    case FieldValue::Kind::kBoolean:
    case FieldValue::Kind::kDate:
      throw RunError(msg::FillMessage(msg::kFieldNotReadableAsInteger,
                                      {Utf8(target.name), state_->name, TypeName(target.type)}),
                     state_->Context(target));
  }
  const std::optional<std::int32_t> rounded = RoundHalfEven(*amount);
  if (!rounded) {
    throw RunError(
        msg::FillMessage(msg::kFieldOutOfIntegerRange,
                         {Utf8(target.name), state_->RecordNumber(), state_->name, shown}),
        state_->Context(target));
  }
  return *rounded;
}

void ExchangeTable::Close() {
  if (!state_ || !state_->open) return;
  state_->Post();
  state_->Write();
  state_->handle.Close();
  state_->open = false;
}

}  // namespace transzendal
