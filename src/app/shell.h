// The desktop program's rules, without its window: the runs started by the buttons or by the
// command line, ResultCode, the two endings of a run, and the result code written to Zendalor.ini
// when an embedded window closes. The window implements ShellView and owns one Shell for the whole
// process; everything here is portable, so the rules are tested without a window.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "source_file.h"
#include "start_arguments.h"
#include "user_interface.h"

namespace transzendal::app {

// What the shell asks of its window. The run's dialogs are those of UserInterface.
class ShellView {
 public:
  virtual ~ShellView() = default;

  virtual std::optional<std::filesystem::path> ChooseSourceFile(const OpenFileDialog& dialog) = 0;
  virtual void ShowMessage(std::string_view text) = 0;
  virtual void SetBusy(bool busy) noexcept = 0;
  virtual std::optional<std::vector<std::size_t>> ChooseTimeFrames(
      std::span<const TimeFrameOption> options) = 0;
  // "Proceso finalizado", with the run's summary as its details; returns once acknowledged.
  virtual void ShowFinished(const RunReport& report) = 0;
  // An error message box with `text`; returns once acknowledged.
  virtual void ShowError(std::string_view text) = 0;
  // Disables BExportar and BImportar for the rest of the process.
  virtual void DisableRuns() = 0;
  // Closes the window once the current call has returned; closing asks Shell::Close first.
  virtual void RequestClose() = 0;
};

struct ShellSettings {
  bool embedded = false;
  std::filesystem::path result_file;  // Zendalor.ini in the program file's folder
  std::filesystem::path exchange_directory;
  char decimal_separator = '.';
};

// The result file's section and key, and its name beside the program file.
inline constexpr std::string_view kResultFileName = "Zendalor.ini";
inline constexpr std::string_view kResultSection = "Transformadores";
inline constexpr std::string_view kResultKey = "Transformado";

class Shell {
 public:
  // ResultCode starts at 0. `view` must outlive the shell.
  Shell(ShellView& view, ShellSettings settings);
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // Runs the forward (kExport) or reverse (kImport) run; kNone does nothing. A completed run sets
  // ResultCode to 1, shows "Proceso finalizado", disables both runs and, embedded, closes the
  // window; a missing file, embedded, sets -1 and closes it. An error is shown in an error box and
  // changes nothing else: ResultCode kept, runs enabled, the window open.
  void Run(StartAction action);

  // The closing rule, for every close of the window: embedded, writes ResultCode to the result
  // file, changing nothing else in it. False when that fails, after an error box "Unable to write
  // to <file>": the close is abandoned.
  bool Close();

  int result_code() const { return result_code_; }
  bool embedded() const { return settings_.embedded; }

 private:
  class RunUi;
  ShellView& view_;
  ShellSettings settings_;
  Session session_;
  int result_code_ = 0;
};

}  // namespace transzendal::app
