#include "cli.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capturing_console.h"
#include "temp_dir.h"

namespace transzendal::cli {
namespace {

using transzendal::testing::TempDir;

using testing::CapturingConsole;

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

constexpr std::string_view kTwoFrames =
    "<datosZPH><marcosDeHorario><marcoHorario id=\"1\"><tramo><submarco>1</submarco><dia>0</dia>"
    "<indice>1</indice><horaEntrada>08:15</horaEntrada><horaSalida>09:10</horaSalida><Tipo>L</Tipo>"
    "</tramo></marcoHorario><marcoHorario id=\"2\"><tramo><submarco>2</submarco><dia>0</dia>"
    "<indice>1</indice><horaEntrada>15:30</horaEntrada><horaSalida>16:25</horaSalida><Tipo>L</Tipo>"
    "</tramo></marcoHorario></marcosDeHorario></datosZPH>";

TEST_F(Cli, SeveralFramesWithoutMarcosAreAskedForAtATerminalUntilTheChoiceIsValid) {
  const auto file = dir_.Write("centro.xml", kTwoFrames);
  console_.interactive = true;
  console_.answers = {"7", "1, 2, 1, 3", " 2 "};
  EXPECT_EQ(Run({"exportar", file.string(), "--directorio", dir_.path().string()}), kExitCompleted);
  const std::string listing =
      "Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en Zendalor.\n"
      "  Marco 1 (tramos del lunes):\n    1-08:15-09:10-L\n"
      "  Marco 2 (tramos del lunes):\n    1-15:30-16:25-L\n"
      "Escriba el identificador de uno o dos marcos, separados por una coma: ";
  EXPECT_TRUE(console_.out.starts_with(
      listing + "El archivo no tiene ningún marco horario «7». Sus marcos horarios son: 1, 2.\n" +
      listing + "El archivo no tiene ningún marco horario «3». Sus marcos horarios son: 1, 2.\n" +
      listing + "Proceso finalizado\n"))
      << console_.out;
  EXPECT_NE(console_.out.find("  DIASHORAST: 1 fila\n"), std::string::npos);
}

TEST_F(Cli, SeveralFramesWithoutMarcosAndNobodyToAskExitWithTwo) {
  const auto file = dir_.Write("centro.xml", kTwoFrames);
  EXPECT_EQ(Run({"exportar", file.string(), "--directorio", dir_.path().string()}), kExitUsage);
  EXPECT_TRUE(console_.err.starts_with("El archivo tiene varios marcos horarios: 1, 2. Elija uno o dos "
                                       "con --marcos ID[,ID] (por ejemplo --marcos 1).\n"))
      << console_.err;
  console_.err.clear();
  console_.interactive = true;  // a terminal whose input ends before the answer
  EXPECT_EQ(Run({"exportar", file.string(), "--directorio", dir_.path().string()}), kExitUsage);
  EXPECT_TRUE(console_.err.starts_with(
      "No se ha elegido ningún marco horario: la entrada terminó antes de la respuesta.\n"))
      << console_.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "DIASHORAST.DBF"));  // nothing was written
}

TEST_F(Cli, AMarcosChoiceTheRuleRefusesExitsWithTwo) {
  const auto file = dir_.Write("centro.xml", "<datosZPH><marcosDeHorario><marcoHorario id=\"1\"/>"
                                             "<marcoHorario id=\"2\"/><marcoHorario id=\"3\"/>"
                                             "</marcosDeHorario></datosZPH>");
  EXPECT_EQ(Run({"exportar", file.string(), "--directorio", dir_.path().string(), "--marcos", "3,1,2"}),
            kExitUsage);
  EXPECT_TRUE(console_.err.starts_with("Demasiados Marcos Horarios seleccionados.\r\nComo máximo puede "
                                       "seleccionar 2 Marcos Horarios\n"))
      << console_.err;
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
