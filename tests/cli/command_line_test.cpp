#include "command_line.h"

#include <gtest/gtest.h>

namespace transzendal::cli {
namespace {

CommandLine Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

std::string UsageMessage(std::vector<std::string> args) {
  try {
    ParseCommandLine(args);
  } catch (const UsageError& error) {
    return error.what();
  }
  return "(aceptado)";
}

TEST(CommandLine, ExportarTakesTheFileAndItsOptionsInAnyOrder) {
  const CommandLine line = Parse({"exportar", "--marcos", "1,2", "centro.xml", "--directorio=/z"});
  EXPECT_EQ(line.command, Command::kExport);
  EXPECT_EQ(line.xml_file, "centro.xml");
  EXPECT_EQ(line.directory, std::filesystem::path("/z"));
  EXPECT_EQ(line.frames, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Parse({"exportar", "a.xml", "--marcos", " 1 ,, Tarde "}).frames,
            (std::vector<std::string>{"1", "Tarde"}));
}

TEST(CommandLine, ImportarAndTablaTakeTheirOwnOperand) {
  EXPECT_EQ(Parse({"importar", "centro.xml"}).xml_file, "centro.xml");
  EXPECT_FALSE(Parse({"importar", "centro.xml"}).directory.has_value());
  const CommandLine table = Parse({"tabla", "asignomt", "--formato", "resumen", "--directorio", "d"});
  EXPECT_EQ(table.command, Command::kTable);
  EXPECT_EQ(table.table_name, "asignomt");
  EXPECT_EQ(table.format, TableFormat::kSummary);
  EXPECT_EQ(Parse({"tabla", "PROFT"}).format, TableFormat::kCsv);
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_EQ(Parse({"--help"}).command, Command::kHelp);
  EXPECT_EQ(Parse({"-h"}).command, Command::kHelp);
  EXPECT_EQ(Parse({"--version"}).command, Command::kVersion);
}

TEST(CommandLine, WrongUsageIsExplainedInSpanish) {
  EXPECT_EQ(UsageMessage({}), "Falta la orden: exportar, importar o tabla.");
  EXPECT_EQ(UsageMessage({"convertir", "a.xml"}), "Orden desconocida: «convertir».");
  EXPECT_EQ(UsageMessage({"exportar"}), "Falta el nombre del archivo XML.");
  EXPECT_EQ(UsageMessage({"tabla"}), "Falta el nombre de la tabla.");
  EXPECT_EQ(UsageMessage({"exportar", "a.xml", "b.xml"}), "Sobra el argumento «b.xml».");
  EXPECT_EQ(UsageMessage({"exportar", "a.xml", "--directorio"}), "La opción «--directorio» necesita un valor.");
  EXPECT_EQ(UsageMessage({"exportar", "a.xml", "--rapido"}), "Opción desconocida: «--rapido».");
  EXPECT_EQ(UsageMessage({"exportar", "a.xml", "--rapido=si"}), "Opción desconocida: «--rapido».");
  EXPECT_EQ(UsageMessage({"importar", "a.xml", "--marcos", "1"}),
            "La opción «--marcos» no sirve para la orden «importar».");
  EXPECT_EQ(UsageMessage({"exportar", "a.xml", "--formato", "csv"}),
            "La opción «--formato» no sirve para la orden «exportar».");
  EXPECT_EQ(UsageMessage({"tabla", "T", "--formato", "xml"}), "Formato desconocido: «xml». Use «csv» o «resumen».");
  EXPECT_EQ(UsageMessage({"exportar", "a.xml", "--directorio", "x", "--directorio=y"}),
            "La opción «--directorio» está repetida.");
}

}  // namespace
}  // namespace transzendal::cli
