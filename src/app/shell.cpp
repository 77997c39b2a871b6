#include "shell.h"

#include <exception>
#include <string>
#include <system_error>
#include <utility>

#include "forward_run.h"
#include "ini_file.h"
#include "messages.h"
#include "platform.h"
#include "reverse_run.h"
#include "run_error.h"

namespace transzendal::app {

// What the runs see: the window's dialogs, and the two endings with their effect on the shell.
class Shell::RunUi : public UserInterface {
 public:
  explicit RunUi(Shell& shell) : shell_(shell), view_(shell.view_) {}

  std::optional<std::filesystem::path> ChooseSourceFile(const OpenFileDialog& dialog) override {
    return view_.ChooseSourceFile(dialog);
  }
  void ShowMessage(std::string_view text) override { view_.ShowMessage(text); }
  void SetBusy(bool busy) noexcept override { view_.SetBusy(busy); }
  std::optional<std::vector<std::size_t>> ChooseTimeFrames(
      std::span<const TimeFrameOption> options) override {
    return view_.ChooseTimeFrames(options);
  }

  void FinishRun(const RunReport& report) override {
    view_.SetBusy(false);
    // Set before the message: whatever ends the process while it is shown, the run did complete.
    shell_.result_code_ = 1;
    view_.ShowFinished(report);
    view_.DisableRuns();
    if (shell_.embedded()) view_.RequestClose();
  }

  void MissingFileEnd(std::string_view message) override {
    view_.ShowMessage(message);
    if (!shell_.embedded()) return;
    shell_.result_code_ = -1;
    view_.RequestClose();
  }

 private:
  Shell& shell_;
  ShellView& view_;
};

Shell::Shell(ShellView& view, ShellSettings settings) : view_(view), settings_(std::move(settings)) {}

void Shell::Run(StartAction action) {
  if (action == StartAction::kNone) return;
  RunUi ui(*this);
  try {
    if (action == StartAction::kExport) {
      ForwardRunSettings run;
      run.exchange_directory = settings_.exchange_directory;
      run.decimal_separator = settings_.decimal_separator;
      RunForward(session_, ui, run);
    } else {
      ReverseRunSettings run;
      run.exchange_directory = settings_.exchange_directory;
      run.decimal_separator = settings_.decimal_separator;
      RunReverse(session_, ui, run);
    }
  } catch (const RunError& error) {
    view_.ShowError(error.user_message());
  } catch (const std::exception& error) {
    view_.ShowError(msg::FillMessage(msg::kUnexpectedError, {error.what()}));
  }
}

bool Shell::Close() {
  if (!embedded()) return true;
  std::error_code error;
  WriteIniValue(settings_.result_file, kResultSection, kResultKey, std::to_string(result_code_),
                error);
  if (!error) return true;
  view_.ShowError(
      msg::FillMessage(msg::kUnableToWrite, {platform::PathToUtf8(settings_.result_file)}));
  return false;
}

}  // namespace transzendal::app
