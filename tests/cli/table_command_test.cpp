#include "table_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "cli.h"
#include "exchange_table.h"
#include "capturing_console.h"
#include "temp_dir.h"

namespace transzendal::cli {
namespace {

using transzendal::testing::TempDir;

using testing::CapturingConsole;

class TableCommand : public ::testing::Test {
 protected:
  TableCommand() {
    const std::vector<FieldDefinition> fields = {{"COD", LogicalType::kString, 10},
                                                 {"NOMBRE", LogicalType::kString, 40}};
    ExchangeTable::Create(dir_.path(), "PROFT", fields,
                          std::chrono::year_month_day{std::chrono::year(2026), std::chrono::May,
                                                      std::chrono::day(4)});
    ExchangeTable table = ExchangeTable::Open(dir_.path(), "PROFT", TableAccess::kShared, '.');
    table.Append();
    table.SetText("COD", "MGARCIA");
    table.SetText("NOMBRE",
                  "Garc\xED"
                  "a, Mar\xED"
                  "a");
    table.Close();
  }
  int Run(std::vector<std::string> args) { return RunCommandLine(args, console_); }

  TempDir dir_;
  CapturingConsole console_;
};

TEST_F(TableCommand, PrintsTheTableAsCsvWhateverTheLetterCaseOfItsName) {
  std::filesystem::rename(dir_.path() / "PROFT.DBF", dir_.path() / "proft.dbf");
  EXPECT_EQ(Run({"tabla", "Proft.DBF", "--directorio", dir_.path().string()}), kExitCompleted);
  EXPECT_EQ(console_.out,
            "COD,NOMBRE\r\nMGARCIA,\"Garc\xC3\xAD"
            "a, Mar\xC3\xAD"
            "a\"\r\n");
  EXPECT_EQ(console_.err, "");
}

TEST_F(TableCommand, PrintsTheSummaryOnRequest) {
  EXPECT_EQ(Run({"tabla", "PROFT", "--formato", "resumen", "--directorio", dir_.path().string()}),
            kExitCompleted);
  EXPECT_NE(console_.out.find("Nivel: dBase 7 (byte de versión 0x04)\nPágina de códigos: "
                              "Windows-1252 (controlador de idioma DBWINWE0)\n"),
            std::string::npos)
      << console_.out;
  EXPECT_NE(console_.out.find("  NOMBRE C       40         0\n"), std::string::npos)
      << console_.out;
}

TEST_F(TableCommand, AMissingDirectoryOrTableOrADamagedFileExitsWithOne) {
  const std::string missing = (dir_.path() / "no").string();
  EXPECT_EQ(Run({"tabla", "PROFT", "--directorio", missing}), kExitFailed);
  EXPECT_EQ(console_.err, "No existe el directorio de intercambio «" + missing + "».\n");
  console_.err.clear();
  EXPECT_EQ(Run({"tabla", "AULAT", "--directorio", dir_.path().string()}), kExitFailed);
  EXPECT_EQ(console_.err,
            "No existe la tabla AULAT en el directorio «" + dir_.path().string() + "».\n");
  console_.err.clear();
  dir_.Write("SOLUC.DBF", std::string("\x03\x7C\x03\x05", 4));
  EXPECT_EQ(Run({"tabla", "SOLUC", "--directorio", dir_.path().string()}), kExitFailed);
  EXPECT_EQ(console_.err, "El archivo de tabla «" + (dir_.path() / "SOLUC.DBF").string() +
                              "» está dañado: mide 4 bytes, menos que la cabecera más corta de una "
                              "tabla dBase (32 bytes).\n");
  EXPECT_EQ(console_.out, "");
}

}  // namespace
}  // namespace transzendal::cli
