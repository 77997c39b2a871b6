#include "cli.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_dir.h"

namespace transzendal::cli {
namespace {

using transzendal::testing::TempDir;

struct CapturingConsole final : Console {
  std::string out;
  std::string err;
  void Out(std::string_view utf8) override { out += utf8; }
  void Err(std::string_view utf8) override { err += utf8; }
};

class Cli : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) { return RunCommandLine(args, console_); }

  TempDir dir_;
  CapturingConsole console_;
};

TEST_F(Cli, ACompletedExportPrintsProcesoFinalizadoAndTheSummary) {
  const auto file = dir_.Write("centro.xml",
                                "<datosZPH><materias><materia>Lengua</materia></materias><marcosDeHorario>"
                                "<marcoHorario id=\"1\"/></marcosDeHorario></datosZPH>");
  EXPECT_EQ(Run({"exportar", file.string(), "--directorio", dir_.path().string()}), kExitCompleted);
  EXPECT_TRUE(console_.out.starts_with("Proceso finalizado\nTablas escritas:\n  ASIGNOMT: 1 fila\n"))
      << console_.out;
  EXPECT_EQ(console_.err, "");
}

TEST_F(Cli, AMissingFileExitsWithThreeAndTheRunsOwnMessage) {
  EXPECT_EQ(Run({"exportar", (dir_.path() / "no.xml").string(), "--directorio", dir_.path().string()}),
            kExitMissingFile);
  EXPECT_EQ(console_.err, "No existe archivo\n");
  EXPECT_EQ(console_.out, "");
}

TEST_F(Cli, ARunErrorExitsWithOneAndItsMessage) {
  const auto file = dir_.Write("roto.xml", "<datosZPH><materias>");
  EXPECT_EQ(Run({"exportar", file.string(), "--directorio", dir_.path().string()}), kExitFailed);
  EXPECT_TRUE(console_.err.starts_with("El archivo «" + file.string() + "» no es un documento XML válido"))
      << console_.err;
  EXPECT_EQ(console_.out, "");
}

TEST_F(Cli, AnExportIntoAMissingExchangeDirectoryExitsWithOneAndNamesIt) {
  const auto file = dir_.Write("centro.xml", "<datosZPH/>");
  const auto missing = dir_.path() / "ZTEMP";
  EXPECT_EQ(Run({"exportar", file.string(), "--directorio", missing.string()}), kExitFailed);
  EXPECT_EQ(console_.err, "No existe el directorio de intercambio «" + missing.string() + "».\n");
  EXPECT_EQ(console_.out, "");
}

TEST_F(Cli, WrongUsageExitsWithTwoAndPointsToTheHelp) {
  EXPECT_EQ(Run({"exportar"}), kExitUsage);
  EXPECT_EQ(console_.err, "Falta el nombre del archivo XML.\nUse «transzendal-cli --help» para ver cómo se usa.\n");
}

TEST_F(Cli, HelpAndVersionGoToStandardOutput) {
  EXPECT_EQ(Run({"--help"}), kExitCompleted);
  EXPECT_TRUE(console_.out.starts_with("Uso:\n")) << console_.out;
  console_.out.clear();
  EXPECT_EQ(Run({"--version"}), kExitCompleted);
  EXPECT_TRUE(console_.out.starts_with("transzendal-cli 1.")) << console_.out;
}

}  // namespace
}  // namespace transzendal::cli
