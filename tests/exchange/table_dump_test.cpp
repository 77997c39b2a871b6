#include "table_dump.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "dbf_bytes.h"
#include "expect_error.h"
#include "temp_dir.h"

namespace transzendal {
namespace {

using testing::DbfBytes;
using testing::RawTable;
using testing::TempDir;

constexpr std::chrono::year_month_day kDate{std::chrono::year(2026), std::chrono::March,
                                            std::chrono::day(1)};

TEST(TableDump, CsvQuotesExactlyTheFieldsThatNeedItAndShowsNumbersWithAPoint) {
  TempDir dir;
  const std::vector<FieldDefinition> fields = {{"TEXTO", LogicalType::kString, 20},
                                               {"HORAS", LogicalType::kFloat, 0},
                                               {"SI", LogicalType::kBoolean, 0}};
  ExchangeTable::Create(dir.path(), "T", fields, kDate);
  ExchangeTable table = ExchangeTable::Open(dir.path(), "T", TableAccess::kShared, ',');
  for (const char* text :
       {"sin comillas", "con, coma", "con \"comillas\"", "dos\r\nlineas", " a "}) {
    table.Append();
    table.SetText("TEXTO", text);
    table.SetText("HORAS", "1,25");
    table.SetBoolean("SI", text[0] == 'c');
  }
  table.Close();
  EXPECT_EQ(DumpTable(dir.path(), "t.dbf", DumpFormat::kCsv),
            "TEXTO,HORAS,SI\r\n"
            "sin comillas,1.25,F\r\n"
            "\"con, coma\",1.25,T\r\n"
            "\"con \"\"comillas\"\"\",1.25,T\r\n"
            "\"dos\r\nlineas\",1.25,F\r\n"
            " a,1.25,F\r\n");
}

TEST(TableDump, TheSummaryShowsLevelCodePageRecordsAndFields) {
  TempDir dir;
  const std::vector<FieldDefinition> fields = {{"COD", LogicalType::kString, 10},
                                               {"HORAS", LogicalType::kFloat, 0},
                                               {"CV_SESION", LogicalType::kInteger, 0}};
  ExchangeTable::Create(dir.path(), "ASIGT", fields, kDate);
  ExchangeTable table = ExchangeTable::Open(dir.path(), "ASIGT", TableAccess::kShared, '.');
  table.Append();
  table.Close();
  EXPECT_EQ(DumpTable(dir.path(), "asigt", DumpFormat::kSummary),
            "Archivo: " + (dir.path() / "ASIGT.DBF").string() +
                "\n"
                "Nivel: dBase 7 (byte de versión 0x04)\n"
                "Página de códigos: Windows-1252 (controlador de idioma DBWINWE0)\n"
                "Última actualización: 2026-03-01\n"
                "Registros: 1\n"
                "Campos: 3\n"
                "  Campo     Tipo Ancho Decimales\n"
                "  COD       C       10         0\n"
                "  HORAS     O        8         0\n"
                "  CV_SESION I        4         0\n");
}

TEST(TableDump, TheSummaryCountsDeletedRecordsApartAndNamesUnknownDrivers) {
  TempDir dir;
  RawTable raw;
  raw.driver_id = 0x64;  // a DOS Eastern European driver, read as Windows-1252
  raw.fields = {{"N", 'N', 5, 2}};
  raw.records = {"  1.00", "*    2", "     "};
  raw.records[2] += " ";
  dir.Write("SOLUC.DBF", DbfBytes(raw));
  const std::string summary = DumpTable(dir.path(), "SOLUC", DumpFormat::kSummary);
  EXPECT_NE(summary.find("Nivel: dBase III, IV o V (byte de versión 0x03)\n"), std::string::npos);
  EXPECT_NE(summary.find("Página de códigos: Windows-1252 (controlador de idioma 0x64, "
                         "desconocido; se toma la página por omisión)\n"),
            std::string::npos);
  EXPECT_NE(summary.find("Registros: 2 (y 1 marcados como borrados, que no se muestran)\n"),
            std::string::npos);
  EXPECT_NE(summary.find("  N     N        5         2\n"), std::string::npos) << summary;
  EXPECT_EQ(DumpTable(dir.path(), "SOLUC", DumpFormat::kCsv), "N\r\n1\r\n\r\n");
}

TEST(TableDump, AMissingTableIsAClearError) {
  TempDir dir;
  EXPECT_RUN_ERROR(DumpTable(dir.path(), "PROFT", DumpFormat::kCsv),
                   "No existe la tabla PROFT en el directorio «" + dir.path().string() + "».");
}

}  // namespace
}  // namespace transzendal
