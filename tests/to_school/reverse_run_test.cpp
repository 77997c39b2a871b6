// The frame of the reverse run: its dialogs and endings, the exchange directory and its seven
// tables, and what a failure leaves behind.
#include "reverse_run.h"

#include <gtest/gtest.h>

#include "directory_snapshot.h"
#include "exchange_lock.h"
#include "expect_error.h"
#include "forward_run.h"
#include "reverse_fixture.h"

namespace transzendal::testing {
namespace {

namespace fs = std::filesystem;

const std::string kReminder =
    "message:Deberá Abrir el fichero XML de COLVARIA,\r\ndesde el cual realizó la Importación a "
    "ZendaLor";
constexpr std::array<std::string_view, 7> kOpeningOrder = {
    "SOLUC", "GRUPOST", "PROFT", "AULAT", "ASIGNOMT", "DIASHORAST", "ASIGT"};

class ReverseRun : public ReverseRunTest {
 protected:
  // Each table that exists can be held exclusively again: the run closed it.
  void ExpectEveryTableClosed() {
    for (std::string_view table : kOpeningOrder) {
      if (!FindTable(table)) continue;
      EXPECT_NO_THROW(ExchangeTable::Open(exchange_, table, TableAccess::kExclusive, '.')) << table;
    }
  }
  std::optional<fs::path> FindTable(std::string_view table) const {
    return platform::FindEntryIgnoringCase(exchange_, std::string(table) + ".DBF");
  }
  std::string Missing(std::string_view table) const {
    return "No existe la tabla " + std::string(table) + " en el directorio «" + exchange_.string() +
           "».";
  }
};

TEST_F(ReverseRun, ACompletedRunRemindsAsksWorksUnderTheWaitCursorAndWritesNoTable) {
  WriteSoluc({Lesson("1", "1")});
  ChooseSchool();
  const DirectorySnapshot tables = SnapshotDirectory(exchange_);
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
  EXPECT_EQ(ui_.events, (std::vector<std::string>{kReminder, "dialog:Archivo XML", "busy:on",
                                                  "busy:off", "finish"}));
  EXPECT_EQ(ui_.dialogs.at(0).initial_directory, exchange_ / "brevel");
  EXPECT_EQ(ui_.finished_report->Summary(),
            "Archivo de resultado: «" + Result().string() + "»\nHorario escrito: 1 tramo.\n");
  EXPECT_EQ(SnapshotDirectory(exchange_), tables);
  EXPECT_EQ(ReadBytes(dir_.path() / "centro.xml"), kSchool);
}

TEST_F(ReverseRun, WithoutAnExistingFileItEndsWithNoExisteArchivoXmlBeforeAnyTableOrCursor) {
  for (std::string_view table : kOpeningOrder)
    fs::remove(exchange_ / (std::string(table) + ".DBF"));
  EXPECT_EQ(Run(), RunOutcome::kMissingFile);  // the dialog cancelled at the first run
  EXPECT_EQ(ui_.events, (std::vector<std::string>{kReminder, "dialog:Archivo XML",
                                                  "missing:No existe archivo XML."}));
  ui_.file_answers.push_back(dir_.path() / "tecleado.xml");
  EXPECT_EQ(Run(), RunOutcome::kMissingFile);
  EXPECT_EQ(session_.source_file_name, dir_.path() / "tecleado.xml");
}

TEST_F(ReverseRun, ACancelledDialogUsesTheFileOfAnEarlierRunThatStoppedOnAnError) {
  ChooseSchool();
  EXPECT_RUN_ERROR(Run(), Missing("SOLUC"));
  EXPECT_EQ(ui_.events.back(), "busy:off");
  WriteSoluc({Lesson("1", "1")});
  EXPECT_EQ(Run(), RunOutcome::kCompleted);
  EXPECT_TRUE(fs::exists(Result()));
}

TEST_F(ReverseRun, TheSevenTablesMustExistAndOpenInTheirOrderSolucInAnyLetterCase) {
  dir_.Write("ZTEMP/soluc.dbf", SolucBytes({Lesson("1", "1")}, kDbase3));
  ChooseSchool();
  // Each time the tables from `missing` on are gone: the first of them in the order is reported.
  for (std::size_t missing = kOpeningOrder.size(); missing-- > 0;) {
    fs::remove(*FindTable(kOpeningOrder[missing]));
    ui_.file_answers.push_back(std::nullopt);
    EXPECT_RUN_ERROR(Run(), Missing(kOpeningOrder[missing]));
    ExpectEveryTableClosed();
  }
  EXPECT_FALSE(fs::exists(Result()));
}

TEST_F(ReverseRun, ATableHeldByAnotherProgramOrTheDirectoryHeldByAnotherRunStopsIt) {
  WriteSoluc({Lesson("1", "1")});
  ChooseSchool();
  {
    const ExchangeTable held =
        ExchangeTable::Open(exchange_, "ASIGT", TableAccess::kExclusive, '.');
    EXPECT_RUN_ERROR(
        Run(), "La tabla ASIGT («" + (exchange_ / "ASIGT.DBF").string() +
                   "») está abierta en otro programa, que no permite usarla a la vez. Ciérrela "
                   "en ese programa y vuelva a intentarlo.");
  }
  ExpectEveryTableClosed();
  const ExchangeLock forward = OpenExchangeDirectory(exchange_, ExchangeUse::kWrite);
  EXPECT_RUN_ERROR(Run(),
                   "Otra ejecución del conversor está usando el directorio de intercambio «" +
                       exchange_.string() + "». Espere a que termine y vuelva a intentarlo.");
  EXPECT_FALSE(fs::exists(Result()));
}

TEST_F(ReverseRun, AnInterruptedReplacementOfTheTablesIsFinishedBeforeTheyAreRead) {
  ChooseSchool(
      "<datosZPH><materias><materia>Lengua</materia></materias><profesores><profesor><nombre>JGL</"
      "nombre>"
      "</profesor></profesores><marcosDeHorario><marcoHorario "
      "id=\"1\"><tramo><dia>0</dia><indice>1</indice>"
      "<horaEntrada>08:15</horaEntrada><horaSalida>09:10</horaSalida></tramo></marcoHorario></"
      "marcosDeHorario>"
      "<sesionesLectivas><sesion "
      "id=\"2001\"><materia>Lengua</materia><profesor>JGL</profesor></sesion>"
      "</sesionesLectivas></datosZPH>");
  ForwardRunSettings forward{exchange_};
  forward.commit_faults = [](CommitPoint point, std::string_view table) {
    return point == CommitPoint::kMoveIn && table == "ASIGT" ? CommitFault::kStop
                                                             : CommitFault::kNone;
  };
  EXPECT_THROW(RunForward(session_, ui_, forward), CommitStopped);
  EXPECT_FALSE(fs::exists(exchange_ / "ASIGT.DBF"));  // the old one moved aside, the new not yet in
  WriteSoluc({Lesson("1", "1", "0", "", "JGL", "Lengua", "")});
  ui_.file_answers.push_back(std::nullopt);
  ASSERT_EQ(Run(), RunOutcome::kCompleted);
  EXPECT_EQ(Timetable(), "<horario>" + Tramo(kFirstPeriod, R"(anonima="")", "2001") + "</horario>");
}

TEST_F(ReverseRun, AFileThatIsNotColvariaDataStopsTheRunWithoutResultAndClosesTheTables) {
  WriteSoluc({Lesson("1", "1")});
  const fs::path broken = ChooseSchool("<datosZPH><materias>");
  EXPECT_RUN_ERROR(
      Run(), "El archivo «" + broken.string() +
                 "» no es un documento XML válido (línea 1): el documento está incompleto (termina "
                 "sin cerrar sus elementos) o sigue después de su elemento raíz");
  const fs::path other = ChooseSchool("<html/>", "otro.xml");
  EXPECT_RUN_ERROR(
      Run(),
      "El archivo «" + other.string() +
          "» no contiene datos de Colvaria: su elemento raíz es «html» y debería ser «datosZPH».");
  EXPECT_EQ(ui_.events.back(), "busy:off");
  ExpectEveryTableClosed();
  EXPECT_FALSE(fs::exists(Result()) || fs::exists(Result("otro.xml")));
}

TEST_F(ReverseRun, ABadSolucStopsTheRunAndLeavesTheEarlierResultAndTheChosenFileAsTheyWere) {
  ChooseSchool();
  const std::string earlier = "<datosZPH>resultado anterior</datosZPH>";
  dir_.Write("ResultadoZendalcentro.xml", earlier);
  const std::string good = SolucBytes({Lesson("1", "1")}, kDbase3);
  dir_.Write("ZTEMP/SOLUC.DBF", good.substr(0, good.size() - 20));
  EXPECT_RUN_ERROR(
      Run(), "El archivo de tabla «" + (exchange_ / "SOLUC.DBF").string() +
                 "» está dañado: la cabecera anuncia 1 registros, pero el archivo solo contiene 0 "
                 "completos.");
  RawTable text_days;  // numbers written as text, as some programs write them
  text_days.fields = {{"DIA", 'C', 3},  {"HORA", 'C', 3},     {"MARCO", 'C', 1}, {"AULA", 'C', 1},
                      {"ASIG", 'C', 1}, {"CODGRUPO", 'C', 1}, {"PROF", 'C', 1}};
  text_days.records = {" 1  1  0    ", " lun1  0    "};
  dir_.Write("ZTEMP/SOLUC.DBF", DbfBytes(text_days));
  ui_.file_answers.push_back(std::nullopt);
  EXPECT_RUN_ERROR(Run(),
                   "El campo «DIA» del registro 2 de la tabla SOLUC no contiene un número: «lun».");
  text_days.fields.pop_back();
  text_days.records = {};
  dir_.Write("ZTEMP/SOLUC.DBF", DbfBytes(text_days));
  ui_.file_answers.push_back(std::nullopt);
  EXPECT_RUN_ERROR(Run(), "La tabla SOLUC no tiene el campo «PROF».");  // even without records
  EXPECT_EQ(ReadBytes(Result()), earlier);
  EXPECT_EQ(ReadBytes(dir_.path() / "centro.xml"), kSchool);
  // The school, the earlier result, the exchange directory and its seven tables: no temporary file.
  EXPECT_EQ(SnapshotDirectory(dir_.path()).size(), 10u);
  ExpectEveryTableClosed();
}

}  // namespace
}  // namespace transzendal::testing
