// The bytes of the tables we write, against bytes worked out by hand from the level-7 layout.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "dbf_bytes.h"
#include "exchange_table.h"
#include "temp_dir.h"

namespace transzendal {
namespace {

using testing::Bytes;
using testing::Padded;
using testing::ReadBytes;
using testing::TempDir;

constexpr std::chrono::year_month_day kDate{std::chrono::year(2026), std::chrono::December,
                                            std::chrono::day(10)};

const std::vector<FieldDefinition> kFields = {
    {"COD", LogicalType::kString, 5},
    {"ACTIVO", LogicalType::kBoolean, 0},
    {"NUM", LogicalType::kInteger, 0},
    {"HORAS", LogicalType::kFloat, 0},
};

std::string Descriptor(std::string_view name, char type, int width) {
  std::string bytes(name);
  bytes.resize(32, '\0');
  bytes += type;
  bytes += static_cast<char>(width);
  bytes += std::string(14, '\0');  // decimals, then reserved bytes
  return bytes;
}

// 68 + 4 * 48 + 1 = 261 header bytes; records of 1 + 5 + 1 + 4 + 8 = 19 bytes.
std::string ExpectedHeader(int records) {
  std::string bytes = Bytes({0x04, 126, 12, 10, records, 0, 0, 0, 0x05, 0x01, 0x13, 0x00});
  bytes += std::string(20, '\0');  // bytes 12 to 31, language driver id 0 at 29 among them
  bytes += "DBWINWE0" + std::string(24, '\0') + std::string(4, '\0');
  bytes += Descriptor("COD", 'C', 5) + Descriptor("ACTIVO", 'L', 1) + Descriptor("NUM", 'I', 4) +
           Descriptor("HORAS", 'O', 8);
  bytes += '\x0D';
  return bytes;
}

TEST(DbfLevel7Bytes, AnEmptyTableIsItsHeaderAndTheEndMarker) {
  TempDir dir;
  ExchangeTable::Create(dir.path(), "PRUEBA", kFields, kDate);
  const std::string bytes = ReadBytes(dir.path() / "PRUEBA.DBF");
  EXPECT_EQ(bytes.size(), 262u);
  EXPECT_EQ(bytes, ExpectedHeader(0) + "\x1A");
}

TEST(DbfLevel7Bytes, RecordsHoldTheLevel7CodingsOfEveryValue) {
  TempDir dir;
  ExchangeTable::Create(dir.path(), "prueba", kFields, kDate);
  ExchangeTable table = ExchangeTable::Open(dir.path(), "PRUEBA", TableAccess::kShared, '.');
  struct Row {
    std::string cod;
    std::optional<bool> activo;
    std::optional<std::int32_t> num;
    std::string horas;
  };
  const std::vector<Row> rows = {
      {"ab", true, 0, "0"},
      {"Pe\xF1"
       "a",
       false, -1, "-0.5"},
      {"abcdefgh", std::nullopt, 1, "2.5"},
      {"", std::nullopt, 2147483647, "2147483647"},
      {"", std::nullopt, -2147483647, "-2147483647"},
      {"", std::nullopt, std::nullopt, ""},
  };
  for (const Row& row : rows) {
    table.Append();
    if (!row.cod.empty()) table.SetText("COD", row.cod);
    if (row.activo) table.SetBoolean("ACTIVO", *row.activo);
    if (row.num) table.SetInteger("NUM", *row.num);
    table.SetText("HORAS", row.horas);
    table.Post();
  }
  table.Close();

  std::string expected = ExpectedHeader(6);
  expected += " ab   T" + Bytes({0x80, 0, 0, 0}) + Bytes({0x80, 0, 0, 0, 0, 0, 0, 0});
  expected +=
      " Pe\xF1"
      "a F" +
      Bytes({0x7F, 0xFF, 0xFF, 0xFF}) + Bytes({0x40, 0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  expected += " abcde " + Bytes({0x80, 0, 0, 1}) + Bytes({0xC0, 0x04, 0, 0, 0, 0, 0, 0});
  expected += "       " + Bytes({0xFF, 0xFF, 0xFF, 0xFF}) +
              Bytes({0xC1, 0xDF, 0xFF, 0xFF, 0xFF, 0xC0, 0, 0});
  expected += "       " + Bytes({0, 0, 0, 1}) + Bytes({0x3E, 0x20, 0, 0, 0, 0x3F, 0xFF, 0xFF});
  expected += "       " + Bytes({0, 0, 0, 0}) + Bytes({0, 0, 0, 0, 0, 0, 0, 0});
  expected += '\x1A';
  EXPECT_EQ(ReadBytes(dir.path() / "PRUEBA.DBF"), expected);
}

TEST(DbfLevel7Bytes, AppendingToAnExistingTableMovesTheEndMarkerAndTheCount) {
  TempDir dir;
  ExchangeTable::Create(dir.path(), "PRUEBA", kFields, kDate);
  for (const char* code : {"x", "y"}) {
    ExchangeTable table = ExchangeTable::Open(dir.path(), "PRUEBA", TableAccess::kShared, '.');
    table.Append();
    table.SetText("COD", code);
    table.Close();
  }
  const std::string nulls = Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(ReadBytes(dir.path() / "PRUEBA.DBF"),
            ExpectedHeader(2) + " x     " + nulls + " y     " + nulls + "\x1A");
}

}  // namespace
}  // namespace transzendal
