#include "table_dump.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "code_page.h"
#include "dbf_structure.h"
#include "messages.h"
#include "platform.h"
#include "text.h"

namespace transzendal {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendCsvField(std::string& line, std::string_view utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) {
    line += utf8;
    return;
  }
  line += '"';
  for (char c : utf8) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

std::string Hex(std::uint8_t byte) {
  char buffer[3];
  std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(byte));
  return buffer;
}

// Characters, not bytes, so that columns line up in a UTF-8 terminal.
std::size_t DisplayWidth(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string DriverDescription(const dbf::DbfStructure& structure) {
  const bool named = !structure.driver_name.empty();
  if (!named && structure.driver_id == 0) return std::string(msg::kStructureNoDriver);
  const std::string driver =
      named ? Windows1252ToUtf8(structure.driver_name) : "0x" + Hex(structure.driver_id);
  if (!structure.driver.recognised) return msg::FillMessage(msg::kStructureUnknownDriver, {driver});
  return named ? msg::FillMessage(msg::kStructureDriverName, {driver})
               : msg::FillMessage(msg::kStructureDriverId, {Hex(structure.driver_id)});
}

std::string DateText(const dbf::HeaderDate& date) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", date.year, date.month, date.day);
  return buffer;
}

std::string FieldTable(const dbf::DbfStructure& structure) {
  using Row = std::array<std::string, 4>;
  std::vector<Row> rows = {
      {std::string(msg::kStructureColumnField), std::string(msg::kStructureColumnType),
       std::string(msg::kStructureColumnWidth), std::string(msg::kStructureColumnDecimals)}};
  for (const dbf::DbfField& field : structure.fields) {
    if (field.hidden) continue;
    rows.push_back({Windows1252ToUtf8(field.name), std::string(1, field.type),
                    std::to_string(field.width), std::to_string(field.decimals)});
  }
  std::array<std::size_t, 4> widths{};
  for (const Row& row : rows) {
    for (std::size_t column = 0; column < widths.size(); ++column) {
      widths[column] = std::max(widths[column], DisplayWidth(row[column]));
    }
  }
  std::string out;
  for (const Row& row : rows) {
    std::string line = " ";
    for (std::size_t column = 0; column < row.size(); ++column) {
      line += ' ';
      // Names and types to the left, numbers to the right.
      const std::string padding(widths[column] - DisplayWidth(row[column]), ' ');
      line += column < 2 ? row[column] + padding : padding + row[column];
    }
    out += std::string(TrimTrailingBlanks(line)) + "\n";
  }
  return out;
}

}  // namespace

std::string TableAsCsv(ExchangeTable& table) {
  const std::vector<dbf::DbfField>& fields = table.structure().fields;
  std::vector<std::size_t> shown;
  for (std::size_t number = 0; number < fields.size(); ++number) {
    if (!fields[number].hidden) shown.push_back(number);
  }
  std::string out;
  std::string line;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (i > 0) line += ',';
    AppendCsvField(line, Windows1252ToUtf8(fields[shown[i]].name));
  }
  out += line;
  out += kLineEnd;
  for (table.First(); !table.AtEnd(); table.Next()) {
    line.clear();
    for (std::size_t i = 0; i < shown.size(); ++i) {
      if (i > 0) line += ',';
      AppendCsvField(line, Windows1252ToUtf8(table.ReadTextAt(shown[i])));
    }
    out += line;
    out += kLineEnd;
  }
  return out;
}

std::string TableSummary(const ExchangeTable& table) {
  const dbf::DbfStructure& structure = table.structure();
  std::string out = msg::FillMessage(msg::kStructureFile, {platform::PathToUtf8(table.file())});
  out +=
      msg::FillMessage(msg::kStructureLevel, {dbf::FamilyName(structure), Hex(structure.version)});
  out += msg::FillMessage(msg::kStructureCodePage, {dbf::CodePageName(structure.driver.code_page),
                                                    DriverDescription(structure)});
  out += msg::FillMessage(msg::kStructureLastUpdate, {DateText(structure.last_update)});
  const std::size_t live = table.LiveRecordCount();
  const std::size_t deleted = structure.record_count - live;
  out += deleted == 0 ? msg::FillMessage(msg::kStructureRecords, {std::to_string(live)})
                      : msg::FillMessage(msg::kStructureRecordsDeleted,
                                         {std::to_string(live), std::to_string(deleted)});
  const auto visible = std::count_if(structure.fields.begin(), structure.fields.end(),
                                     [](const dbf::DbfField& field) { return !field.hidden; });
  out += msg::FillMessage(msg::kStructureFields, {std::to_string(visible)});
  out += FieldTable(structure);
  return out;
}

std::string DumpTable(const std::filesystem::path& directory, std::string_view name,
                      DumpFormat format) {
  ExchangeTable table = ExchangeTable::Open(directory, name, TableAccess::kRead, '.');
  return format == DumpFormat::kCsv ? TableAsCsv(table) : TableSummary(table);
}

}  // namespace transzendal
