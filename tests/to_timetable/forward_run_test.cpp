#include "forward_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "directory_snapshot.h"
#include "exchange_lock.h"
#include "expect_error.h"
#include "fake_ui.h"
#include "temp_dir.h"

namespace transzendal {
namespace {

using testing::FakeUi;
using testing::TempDir;

constexpr std::string_view kSchool =
    "<datosZPH><materias><materia>Lengua</materia><materia>Historia</materia></materias></datosZPH>";

// Steps that record what they saw, in the order the run calls them.
std::vector<std::string>& StepLog() {
  static std::vector<std::string> log;
  return log;
}

void FirstStep(ForwardRunContext& context) {
  StepLog().push_back("first:" + std::to_string(context.school.Records(RecordKind::kSubject).size()));
  context.report.CountRows("ASIGNOMT", 2);
}

// Logs the folder that holds the run's table folder: the exchange directory.
void SecondStep(ForwardRunContext& context) {
  StepLog().push_back("second:" + context.table_directory.parent_path().filename().string());
}

void FailingStep(ForwardRunContext&) { throw RunError("fallo a propósito"); }

constexpr ForwardRunStep kTwoSteps[] = {{"primero", FirstStep}, {"segundo", SecondStep}};
constexpr ForwardRunStep kFailingSecond[] = {
    {"primero", FirstStep}, {"falla", FailingStep}, {"segundo", SecondStep}};

class ForwardRun : public ::testing::Test {
 protected:
  void SetUp() override {
    StepLog().clear();
    std::filesystem::create_directory(dir_.path() / "ZTEMP");
  }

  ForwardRunSettings settings() const { return {dir_.path() / "ZTEMP"}; }

  TempDir dir_;
  FakeUi ui_;
  Session session_;
};

TEST_F(ForwardRun, ACompletedRunRunsEveryStepInOrderUnderTheWaitCursor) {
  ui_.file_answers.push_back(dir_.Write("centro.xml", kSchool));
  EXPECT_EQ(RunForward(session_, ui_, settings(), kTwoSteps), RunOutcome::kCompleted);
  EXPECT_EQ(StepLog(), (std::vector<std::string>{"first:2", "second:ZTEMP"}));
  EXPECT_EQ(ui_.events, (std::vector<std::string>{"dialog:Archivo XML", "busy:on", "busy:off", "finish"}));
  ASSERT_TRUE(ui_.finished_report);
  ASSERT_EQ(ui_.finished_report->tables().size(), 1u);
  EXPECT_EQ(ui_.finished_report->tables()[0].rows, 2);
}

TEST_F(ForwardRun, TheDialogIsOpenDialogXml) {
  RunForward(session_, ui_, settings(), kTwoSteps);
  ASSERT_EQ(ui_.dialogs.size(), 1u);
  EXPECT_EQ(ui_.dialogs[0].title, "Archivo XML");
  EXPECT_EQ(ui_.dialogs[0].filter, "*.xml");
  EXPECT_EQ(ui_.dialogs[0].default_extension, "xml");
  EXPECT_EQ(ui_.dialogs[0].initial_directory, dir_.path() / "ZTEMP" / "brevel");
}

TEST_F(ForwardRun, CancellingTheFirstDialogEndsWithNoExisteArchivo) {
  EXPECT_EQ(RunForward(session_, ui_, settings(), kTwoSteps), RunOutcome::kMissingFile);
  EXPECT_EQ(ui_.events, (std::vector<std::string>{"dialog:Archivo XML", "missing:No existe archivo"}));
  EXPECT_TRUE(StepLog().empty());
}

TEST_F(ForwardRun, ANameOfNoExistingFileEndsWithNoExisteArchivo) {
  ui_.file_answers.push_back(dir_.path() / "tecleado.xml");
  EXPECT_EQ(RunForward(session_, ui_, settings(), kTwoSteps), RunOutcome::kMissingFile);
  EXPECT_EQ(ui_.events.back(), "missing:No existe archivo");
  EXPECT_EQ(session_.source_file_name, dir_.path() / "tecleado.xml");
  EXPECT_TRUE(StepLog().empty());
  const std::filesystem::path folder = dir_.path() / "centro.xml";
  ui_.file_answers.push_back(folder);
  std::filesystem::create_directory(folder);  // a folder is no file
  EXPECT_EQ(RunForward(session_, ui_, settings(), kTwoSteps), RunOutcome::kMissingFile);
}

TEST_F(ForwardRun, ACancelledDialogKeepsTheEarlierFile) {
  ui_.file_answers.push_back(dir_.Write("centro.xml", kSchool));
  ui_.file_answers.push_back(std::nullopt);
  RunForward(session_, ui_, settings(), kTwoSteps);
  StepLog().clear();
  EXPECT_EQ(RunForward(session_, ui_, settings(), kTwoSteps), RunOutcome::kCompleted);
  EXPECT_EQ(StepLog().front(), "first:2");
}

TEST_F(ForwardRun, AFailingStepStopsTheRunAndRestoresTheCursor) {
  ui_.file_answers.push_back(dir_.Write("centro.xml", kSchool));
  EXPECT_RUN_ERROR(RunForward(session_, ui_, settings(), kFailingSecond), "fallo a propósito");
  EXPECT_EQ(StepLog(), (std::vector<std::string>{"first:2"}));
  EXPECT_EQ(ui_.events, (std::vector<std::string>{"dialog:Archivo XML", "busy:on", "busy:off"}));
}

TEST_F(ForwardRun, AFileThatIsNotColvariaDataStopsTheRunBeforeAnyStep) {
  const auto file = dir_.Write("otro.xml", "<html><body>Horario</body></html>");
  ui_.file_answers.push_back(file);
  EXPECT_RUN_ERROR(RunForward(session_, ui_, settings(), kTwoSteps),
                   "El archivo «" + file.string() +
                       "» no contiene datos de Colvaria: su elemento raíz es «html» y debería ser «datosZPH».");
  EXPECT_TRUE(StepLog().empty());
  EXPECT_EQ(ui_.events.back(), "busy:off");
}

// Steps that write tables the way the builders do: into the run's table folder.
std::string NewBytes(std::string_view table) { return "tabla nueva " + std::string(table); }

std::filesystem::path Live(const ForwardRunContext& context, std::string_view file) {
  return context.table_directory.parent_path() / file;
}

template <std::size_t kTable>
void WriteNewTable(ForwardRunContext& context) {
  const std::string table(kForwardRunTables[kTable]);
  std::ofstream(context.table_directory / (table + ".DBF"), std::ios::binary) << NewBytes(table);
  StepLog().push_back(table);
}

// Writes its table, then fails, as a builder that meets bad data half way does.
template <std::size_t kTable>
void WriteThenFail(ForwardRunContext& context) {
  WriteNewTable<kTable>(context);
  throw RunError("fallo a propósito en " + StepLog().back());
}

// Reads what an earlier step of the run wrote, as the assignments step does, and the live table.
void ReadSubjects(ForwardRunContext& context) {
  StepLog().push_back(testing::ReadBytes(context.table_directory / "ASIGNOMT.DBF") + " / " +
                      testing::ReadBytes(Live(context, "ASIGNOMT.DBF")));
}

constexpr std::size_t kAsignomt = 0, kProft = 1, kAulat = 2, kGrupost = 4, kAsigt = 5;

class ForwardRunTables : public ForwardRun {
 protected:
  void SetUp() override {
    ForwardRun::SetUp();
    for (std::string table : {"ASIGNOMT", "PROFT", "AULAT", "ASIGT", "SOLUC"}) {
      dir_.Write("ZTEMP/" + table + ".DBF", "tabla anterior " + table);
    }
    dir_.Write("ZTEMP/ASIGNOMT.MDX", "índice anterior");
    old_set_ = Snapshot();
    ui_.file_answers.push_back(school_);
  }

  testing::DirectorySnapshot Snapshot() const { return testing::SnapshotDirectory(exchange()); }
  std::filesystem::path exchange() const { return dir_.path() / "ZTEMP"; }

  // The old set after a run that wrote ASIGNOMT and PROFT.
  testing::DirectorySnapshot SubjectsAndTeachersReplaced() const {
    testing::DirectorySnapshot expected = old_set_;
    expected["ASIGNOMT.DBF"] = NewBytes("ASIGNOMT");
    expected["PROFT.DBF"] = NewBytes("PROFT");
    expected.erase("ASIGNOMT.MDX");
    return expected;
  }

  std::filesystem::path school_ = dir_.Write("centro.xml", kSchool);
  testing::DirectorySnapshot old_set_;
};

constexpr ForwardRunStep kSubjectsAndTeachers[] = {{"asignaturas", WriteNewTable<kAsignomt>},
                                                   {"profesores", WriteNewTable<kProft>}};

TEST_F(ForwardRunTables, TheRunReplacesTheTablesItWroteOnlyAtItsEnd) {
  constexpr ForwardRunStep steps[] = {{"asignaturas", WriteNewTable<kAsignomt>},
                                      {"profesores", WriteNewTable<kProft>},
                                      {"relee", ReadSubjects}};
  EXPECT_EQ(RunForward(session_, ui_, settings(), steps), RunOutcome::kCompleted);
  EXPECT_EQ(StepLog(), (std::vector<std::string>{
                           "ASIGNOMT", "PROFT", "tabla nueva ASIGNOMT / tabla anterior ASIGNOMT"}));
  EXPECT_EQ(Snapshot(), SubjectsAndTeachersReplaced());
}

TEST_F(ForwardRunTables, AFailingStepLeavesTheExchangeDirectoryByteForByteAsItWas) {
  constexpr ForwardRunStep fail_first[] = {{"asignaturas", WriteThenFail<kAsignomt>},
                                           {"profesores", WriteNewTable<kProft>}};
  constexpr ForwardRunStep fail_middle[] = {{"asignaturas", WriteNewTable<kAsignomt>},
                                            {"aulas", WriteThenFail<kAulat>},
                                            {"grupos", WriteNewTable<kGrupost>}};
  constexpr ForwardRunStep fail_last[] = {{"asignaturas", WriteNewTable<kAsignomt>},
                                          {"grupos", WriteNewTable<kGrupost>},
                                          {"asignaciones", WriteThenFail<kAsigt>}};
  const std::vector<std::pair<std::span<const ForwardRunStep>, std::string>> runs = {
      {fail_first, "ASIGNOMT"}, {fail_middle, "AULAT"}, {fail_last, "ASIGT"}};
  for (const auto& [steps, failing] : runs) {
    ui_.file_answers = {school_};
    EXPECT_RUN_ERROR(RunForward(session_, ui_, settings(), steps),
                     "fallo a propósito en " + failing);
    EXPECT_EQ(Snapshot(), old_set_) << failing;
  }
}

TEST_F(ForwardRunTables, AMissingExchangeDirectoryStopsTheRunBeforeAnyStepButAfterTheFileCheck) {
  std::filesystem::remove_all(exchange());
  EXPECT_RUN_ERROR(RunForward(session_, ui_, settings(), kTwoSteps),
                   "No existe el directorio de intercambio «" + exchange().string() + "».");
  EXPECT_TRUE(StepLog().empty());
  EXPECT_EQ(ui_.events, (std::vector<std::string>{"dialog:Archivo XML", "busy:on", "busy:off"}));
  session_.source_file_name.clear();
  EXPECT_EQ(RunForward(session_, ui_, settings(), kTwoSteps), RunOutcome::kMissingFile);
}

TEST_F(ForwardRunTables, ASecondRunStopsAtOnceWhileAnotherHoldsTheDirectory) {
  const ExchangeLock other = OpenExchangeDirectory(exchange(), ExchangeUse::kRead);
  EXPECT_RUN_ERROR(RunForward(session_, ui_, settings(), kSubjectsAndTeachers),
                   "Otra ejecución del conversor está usando el directorio de intercambio «" +
                       exchange().string() + "». Espere a que termine y vuelva a intentarlo.");
  EXPECT_TRUE(StepLog().empty());
  EXPECT_EQ(Snapshot(), old_set_);
}

TEST_F(ForwardRunTables, ARunKilledWhileMovingTablesInIsCompletedBeforeTheNextRunStarts) {
  ForwardRunSettings stopping = settings();
  stopping.commit_faults = [](CommitPoint point, std::string_view table) {
    return point == CommitPoint::kMoveIn && table == "PROFT" ? CommitFault::kStop
                                                             : CommitFault::kNone;
  };
  EXPECT_THROW(RunForward(session_, ui_, stopping, kSubjectsAndTeachers), CommitStopped);
  EXPECT_FALSE(std::filesystem::exists(exchange() / "PROFT.DBF"));  // moved aside, not yet back
  constexpr ForwardRunStep failing[] = {
      {"mira",
       [](ForwardRunContext& c) { StepLog().push_back(testing::ReadBytes(Live(c, "PROFT.DBF"))); }},
      {"aulas", WriteThenFail<kAulat>}};
  ui_.file_answers = {school_};
  EXPECT_RUN_ERROR(RunForward(session_, ui_, settings(), failing), "fallo a propósito en AULAT");
  EXPECT_EQ(StepLog()[StepLog().size() - 2], "tabla nueva PROFT");
  EXPECT_EQ(Snapshot(), SubjectsAndTeachersReplaced());
}

}  // namespace
}  // namespace transzendal
