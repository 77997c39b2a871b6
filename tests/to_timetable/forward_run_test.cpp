#include "forward_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

void SecondStep(ForwardRunContext& context) {
  StepLog().push_back("second:" + context.exchange_directory.filename().string());
}

void FailingStep(ForwardRunContext&) { throw RunError("fallo a propósito"); }

constexpr ForwardRunStep kTwoSteps[] = {{"primero", FirstStep}, {"segundo", SecondStep}};
constexpr ForwardRunStep kFailingSecond[] = {
    {"primero", FirstStep}, {"falla", FailingStep}, {"segundo", SecondStep}};

class ForwardRun : public ::testing::Test {
 protected:
  void SetUp() override { StepLog().clear(); }

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

}  // namespace
}  // namespace transzendal
