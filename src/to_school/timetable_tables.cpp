#include "timetable_tables.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

#include "messages.h"
#include "platform.h"
#include "run_error.h"
#include "text.h"

namespace transzendal {
namespace {

// The order of opening, which is also the order of closing.
constexpr std::array<std::string_view, 7> kOpeningOrder = {
    "SOLUC", "GRUPOST", "PROFT", "AULAT", "ASIGNOMT", "DIASHORAST", "ASIGT"};
constexpr std::size_t kSolved = 0;
constexpr std::size_t kRooms = 3;
constexpr std::size_t kFrames = 5;
constexpr std::size_t kAssignments = 6;

struct ReadFields {
  std::size_t table;
  std::initializer_list<std::string_view> fields;
};

// The fields the run reads. They are checked at opening, so that a table lacking one is reported
// whatever its records hold, even when no record would have been read.
const std::array<ReadFields, 4> kReadFields = {{
    {kSolved, {"DIA", "HORA", "MARCO", "AULA", "ASIG", "CODGRUPO", "PROF"}},
    {kRooms, {"ABREV", "NOMBRE", "CV_GENERICA"}},
    {kFrames, {"MARCO", "MARCOXML"}},
    {kAssignments, {"CASIG", "CGRUP", "CPROF", "CV_SESION"}},
}};

void RequireField(const ExchangeTable& table, std::string_view name) {
  const auto& fields = table.structure().fields;
  const bool present = std::any_of(fields.begin(), fields.end(), [&](const dbf::DbfField& field) {
    return !field.hidden && EqualIgnoringCase(field.name, name);
  });
  if (present) return;
  throw RunError(
      msg::FillMessage(msg::kTableFieldMissing, {table.name(), name}),
      ErrorContext{platform::PathToUtf8(table.file()), table.name(), {}, std::string(name)});
}

}  // namespace

TimetableTables TimetableTables::Open(const std::filesystem::path& directory,
                                      char decimal_separator) {
  // Filled in place: when an open throws, the destructor closes the tables opened before it.
  TimetableTables tables;
  tables.tables_.reserve(kOpeningOrder.size());
  for (std::string_view name : kOpeningOrder) {
    tables.tables_.push_back(
        ExchangeTable::Open(directory, name, TableAccess::kExclusive, decimal_separator));
  }
  for (const ReadFields& read : kReadFields) {
    for (std::string_view field : read.fields) RequireField(tables.tables_[read.table], field);
  }
  return tables;
}

TimetableTables::~TimetableTables() {
  for (ExchangeTable& table : tables_) {
    try {
      table.Close();
    } catch (...) {
      // Close() is where failures are reported; a destructor must not throw. The run writes
      // nothing into these tables, so closing them has nothing to lose.
    }
  }
}

ExchangeTable& TimetableTables::solved() { return tables_[kSolved]; }
ExchangeTable& TimetableTables::rooms() { return tables_[kRooms]; }
ExchangeTable& TimetableTables::frames() { return tables_[kFrames]; }
ExchangeTable& TimetableTables::assignments() { return tables_[kAssignments]; }

void TimetableTables::Close() {
  for (ExchangeTable& table : tables_) table.Close();
}

}  // namespace transzendal
