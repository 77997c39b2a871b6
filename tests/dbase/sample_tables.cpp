// Writes sample tables with the converter's engine, for the other engines to read back
// (cross_engine.sh): every logical type with its edge values, the long field names of the
// time-frame table with a second pass of edits, and an empty table.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "exchange_table.h"

namespace {

using transzendal::ExchangeTable;
using transzendal::FieldDefinition;
using transzendal::LogicalType;
using transzendal::TableAccess;

constexpr std::chrono::year_month_day kDate{std::chrono::year(2026), std::chrono::December,
                                            std::chrono::day(10)};

void WriteEveryType(const std::filesystem::path& directory) {
  const std::vector<FieldDefinition> fields = {{"TEXTO", LogicalType::kString, 10},
                                               {"UNO", LogicalType::kString, 1},
                                               {"SI", LogicalType::kBoolean, 0},
                                               {"ENTERO", LogicalType::kInteger, 0},
                                               {"HORAS", LogicalType::kFloat, 0}};
  ExchangeTable::Create(directory, "MUESTRA", fields, kDate);
  ExchangeTable table = ExchangeTable::Open(directory, "MUESTRA", TableAccess::kShared, ',');
  struct Row {
    std::string text;
    std::optional<bool> yes;
    std::optional<std::int32_t> integer;
    std::string hours;
  };
  const std::vector<Row> rows = {
      {"Mi\xE9rcoles", true, 0, "0"},
      {"S\xE1"
       "bado, \"s\"",
       false, -1, "-0,5"},
      {"Matematicas1", std::nullopt, 1, "2,5"},
      {"  Lengua", true, 2147483647, "123456,789"},
      {"", std::nullopt, -2147483647, "-1E-7"},
      {"", std::nullopt, std::nullopt, ""},
      {"x", false, 55, "1E20"},
  };
  for (const Row& row : rows) {
    table.Append();
    table.SetText("TEXTO", row.text);
    table.SetText("UNO", row.text);
    if (row.yes) table.SetBoolean("SI", *row.yes);
    if (row.integer) table.SetInteger("ENTERO", *row.integer);
    table.SetText("HORAS", row.hours);
    table.Post();
  }
  table.Close();
}

void WriteTimeFrames(const std::filesystem::path& directory) {
  const std::vector<FieldDefinition> fields = {
      {"DIHO", LogicalType::kString, 10},        {"CODDIHO", LogicalType::kString, 10},
      {"DIA", LogicalType::kString, 20},         {"TEXTODIA", LogicalType::kString, 20},
      {"HORA", LogicalType::kString, 8},         {"TEXTOHOR", LogicalType::kString, 20},
      {"HORADESDE", LogicalType::kString, 8},    {"HORAHASTA", LogicalType::kString, 8},
      {"MINUTOS", LogicalType::kString, 8},      {"MARCO", LogicalType::kString, 1},
      {"MARCOXML", LogicalType::kString, 10},    {"CV_MARCO_ID", LogicalType::kString, 2},
      {"CV_SUBMARCO", LogicalType::kString, 2},  {"CV_DIA", LogicalType::kString, 1},
      {"CV_HORADESDE", LogicalType::kString, 8}, {"CV_HORAHASTA", LogicalType::kString, 8},
      {"CV_TIPO", LogicalType::kString, 20}};
  ExchangeTable::Create(directory, "DIASHORAST", fields, kDate);
  ExchangeTable table = ExchangeTable::Open(directory, "DIASHORAST", TableAccess::kShared, '.');
  const char* days[] = {"Lunes", "Mi\xE9rcoles",
                        "S\xE1"
                        "bado"};
  for (int day = 0; day < 3; ++day) {
    for (int period = 1; period <= 2; ++period) {
      table.Append();
      table.SetText("DIHO", std::to_string(day + 1) + std::to_string(period));
      table.SetText("TEXTODIA", days[day]);
      table.SetText("HORADESDE", period == 1 ? "08:00" : "08:55");
      table.SetText("MARCOXML", day == 1 ? "7" : "12");
      table.SetText("CV_HORADESDE", period == 1 ? "08:00:00" : "08:55:00");
      table.SetText("CV_TIPO", "Lectivo");
      table.Post();
    }
  }
  // The second pass of the time-frame step: a locate on two fields, then edits along a walk.
  if (table.Locate("DIHO;MARCOXML", {"11", "12"})) {
    table.Edit();
    table.SetText("MINUTOS", "55");
  }
  for (table.First(); !table.AtEnd(); table.Next()) {
    table.Edit();
    table.SetText("MARCO", table.ReadText("MARCOXML") == "12" ? "0" : "1");
  }
  table.Close();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: sample_tables DIRECTORY\n", stderr);
    return 2;
  }
  try {
    const std::filesystem::path directory(argv[1]);
    WriteEveryType(directory);
    WriteTimeFrames(directory);
    const std::vector<FieldDefinition> empty_fields = {{"COD", LogicalType::kString, 10}};
    ExchangeTable::Create(directory, "VACIA", empty_fields, kDate);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
