// The desktop program's rules through a recording window: what each ending of each run does to
// ResultCode, the buttons, the window and Zendalor.ini.
#include "shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "platform.h"
#include "run_report.h"
#include "simulated_solution.h"
#include "temp_dir.h"

namespace transzendal::app {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;

// Answers the dialogs from prepared answers and records, in order, what the shell asked.
class RecordingView : public ShellView {
 public:
  std::deque<std::optional<fs::path>> file_answers;  // nothing = cancel; cancels when none left
  std::vector<std::string> events;
  const Shell* shell = nullptr;  // to see ResultCode as the finished message is shown

  std::optional<fs::path> ChooseSourceFile(const OpenFileDialog&) override {
    events.push_back("archivo");
    if (file_answers.empty()) return std::nullopt;
    auto answer = file_answers.front();
    file_answers.pop_front();
    return answer;
  }
  void ShowMessage(std::string_view text) override { events.push_back("mensaje:" + std::string(text)); }
  void SetBusy(bool busy) noexcept override {
    if (busy != busy_) events.push_back(busy ? "espera" : "fin-espera");
    busy_ = busy;
  }
  std::optional<std::vector<std::size_t>> ChooseTimeFrames(
      std::span<const TimeFrameOption> options) override {
    events.push_back("marcos:" + std::to_string(options.size()));
    return std::vector<std::size_t>{0, 1};
  }
  void ShowFinished(const RunReport& report) override {
    events.push_back("finalizado:" + std::to_string(shell->result_code()));
    summary = report.Summary();
  }
  void ShowError(std::string_view text) override { events.push_back("error:" + std::string(text)); }
  void DisableRuns() override { events.push_back("botones-desactivados"); }
  void RequestClose() override { events.push_back("cerrar"); }

  std::string summary;

 private:
  bool busy_ = false;
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(exchange_);
    fs::create_directory(program_);
    fs::copy_file(fs::path(TRANSZENDAL_EXAMPLES_DIR) / "instituto-ejemplo.xml", school_);
  }

  Shell& Start(bool embedded) {
    ShellSettings settings;
    settings.embedded = embedded;
    settings.result_file = program_ / "Zendalor.ini";
    settings.exchange_directory = exchange_;
    shell_.emplace(view_, settings);
    view_.shell = &*shell_;
    return *shell_;
  }

  std::string ResultFile() const { return ReadBytes(program_ / "Zendalor.ini"); }

  TempDir dir_;
  fs::path exchange_ = dir_.path() / "ZTEMP";
  fs::path program_ = dir_.path() / "programa";
  fs::path school_ = dir_.path() / "centro.xml";
  RecordingView view_;
  std::optional<Shell> shell_;
};

using Events = std::vector<std::string>;

TEST_F(ShellTest, AnEmbeddedExportThatCompletesSetsOneBeforeTheMessageThenClosesAndWritesOne) {
  Shell& shell = Start(true);
  view_.file_answers = {school_};
  shell.Run(StartAction::kExport);
  EXPECT_EQ(view_.events, (Events{"archivo", "espera", "marcos:2", "fin-espera", "finalizado:1",
                                  "botones-desactivados", "cerrar"}));
  EXPECT_NE(view_.summary.find("ASIGT"), std::string::npos) << view_.summary;
  EXPECT_TRUE(shell.Close());
  EXPECT_EQ(ResultFile(), "[Transformadores]\r\nTransformado=1\r\n");
}

TEST_F(ShellTest, ACompletedRunInAnOrdinaryWindowDisablesTheRunsKeepsItOpenAndWritesNothing) {
  Shell& shell = Start(false);
  view_.file_answers = {school_};
  shell.Run(StartAction::kExport);
  EXPECT_EQ(view_.events.back(), "botones-desactivados");
  EXPECT_EQ(shell.result_code(), 1);
  EXPECT_TRUE(shell.Close());
  EXPECT_FALSE(fs::exists(program_ / "Zendalor.ini"));
}

TEST_F(ShellTest, AnEmbeddedRunWhoseDialogIsCancelledAtTheFirstRunEndsWithMinusOne) {
  Shell& shell = Start(true);
  shell.Run(StartAction::kExport);
  EXPECT_EQ(view_.events, (Events{"archivo", "mensaje:No existe archivo", "cerrar"}));
  EXPECT_EQ(shell.result_code(), -1);
  EXPECT_TRUE(shell.Close());
  EXPECT_EQ(ResultFile(), "[Transformadores]\r\nTransformado=-1\r\n");
}

TEST_F(ShellTest, AMissingFileInAnOrdinaryWindowOnlyShowsTheMessage) {
  Shell& shell = Start(false);
  view_.file_answers = {dir_.path() / "no-existe.xml"};
  shell.Run(StartAction::kImport);
  EXPECT_EQ(view_.events.back(), "mensaje:No existe archivo XML.");
  EXPECT_EQ(view_.events.size(), 3u);  // the reminder, the dialog, the message
  EXPECT_EQ(shell.result_code(), 0);
}

TEST_F(ShellTest, AnErrorIsShownWithItsOwnTextAndLeavesTheWindowAsItWas) {
  Shell& shell = Start(true);
  fs::remove(exchange_);
  view_.file_answers = {school_};
  shell.Run(StartAction::kExport);
  ASSERT_EQ(view_.events.size(), 4u);
  EXPECT_EQ(view_.events[2], "fin-espera");
  EXPECT_EQ(view_.events[3].rfind("error:", 0), 0u) << view_.events[3];
  EXPECT_NE(view_.events[3].find(platform::PathToUtf8(exchange_)), std::string::npos)
      << view_.events[3];
  EXPECT_EQ(shell.result_code(), 0);
  EXPECT_TRUE(shell.Close());
  EXPECT_EQ(ResultFile(), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST_F(ShellTest, AfterAnErrorTheSameSessionRunsAgainWithTheFileChosenBefore) {
  Shell& shell = Start(false);
  fs::remove(exchange_);
  view_.file_answers = {school_};
  shell.Run(StartAction::kExport);
  fs::create_directory(exchange_);
  view_.events.clear();
  shell.Run(StartAction::kExport);  // the dialog is cancelled: the earlier file stays in force
  EXPECT_EQ(view_.events.front(), "archivo");
  EXPECT_EQ(view_.events.back(), "botones-desactivados");
  EXPECT_EQ(shell.result_code(), 1);
}

TEST_F(ShellTest, AnEmbeddedImportBringsTheTimetableBackAndWritesOne) {
  {
    RecordingView forward_view;
    ShellSettings settings;
    settings.exchange_directory = exchange_;
    Shell forward(forward_view, settings);
    forward_view.shell = &forward;
    forward_view.file_answers = {school_};
    forward.Run(StartAction::kExport);
    ASSERT_EQ(forward.result_code(), 1);
  }
  simulator::WriteSimulatedSolution(exchange_, std::chrono::year{2026} / 12 / 10);
  Shell& shell = Start(true);
  view_.file_answers = {school_};
  shell.Run(StartAction::kImport);
  EXPECT_EQ(view_.events.front().rfind("mensaje:Deberá Abrir el fichero XML de COLVARIA", 0), 0u);
  EXPECT_EQ(view_.events.back(), "cerrar");
  EXPECT_TRUE(fs::exists(dir_.path() / "ResultadoZendalcentro.xml"));
  EXPECT_TRUE(shell.Close());
  EXPECT_EQ(ResultFile(), "[Transformadores]\r\nTransformado=1\r\n");
}

TEST_F(ShellTest, NoActionDoesNothingAndAnIdleEmbeddedCloseWritesZeroKeepingTheRestOfTheFile) {
  Shell& shell = Start(true);
  shell.Run(StartAction::kNone);
  EXPECT_TRUE(view_.events.empty());
  const std::string before = "; Zendalor\r\n[General]\r\nRuta=C:\\Z\r\n\r\n[Transformadores]\r\n"
                             "Transformado=1\r\nOtro=2\r\n";
  dir_.Write("programa/Zendalor.ini", before);
  EXPECT_TRUE(shell.Close());
  EXPECT_EQ(ResultFile(), "; Zendalor\r\n[General]\r\nRuta=C:\\Z\r\n\r\n[Transformadores]\r\n"
                          "Transformado=0\r\nOtro=2\r\n");
}

TEST_F(ShellTest, AResultFileThatCannotBeWrittenAbandonsTheCloseWithUnableToWrite) {
  Shell& shell = Start(true);
  fs::create_directory(program_ / "Zendalor.ini");
  EXPECT_FALSE(shell.Close());
  EXPECT_EQ(view_.events, (Events{"error:Unable to write to " +
                                  platform::PathToUtf8(program_ / "Zendalor.ini")}));
}

}  // namespace
}  // namespace transzendal::app
