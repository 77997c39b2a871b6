// A scripted user interface for tests of the runs: it answers the dialogs from prepared answers and
// records everything the run showed, in order.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "run_report.h"
#include "user_interface.h"

namespace transzendal::testing {

class FakeUi : public UserInterface {
 public:
  // Answers of the open-file dialog, one per showing; nothing = cancel. Cancels when none are left.
  std::deque<std::optional<std::filesystem::path>> file_answers;
  // Answers of the time-frame choice, one per showing (nothing = a choice the rule refused); the
  // options shown are kept. Throws std::logic_error when no answers are left.
  std::deque<std::optional<std::vector<std::size_t>>> frame_answers;
  std::vector<TimeFrameOption> frame_options;

  // What the run did, in order: "dialog:<title>", "message:<text>", "busy:on", "busy:off",
  // "frames:<n options>", "finish", "missing:<text>".
  std::vector<std::string> events;
  std::vector<OpenFileDialog> dialogs;
  std::optional<RunReport> finished_report;

  std::optional<std::filesystem::path> ChooseSourceFile(const OpenFileDialog& dialog) override;
  void ShowMessage(std::string_view text) override;
  void SetBusy(bool busy) noexcept override;
  std::optional<std::vector<std::size_t>> ChooseTimeFrames(
      std::span<const TimeFrameOption> options) override;
  void FinishRun(const RunReport& report) override;
  void MissingFileEnd(std::string_view message) override;
};

}  // namespace transzendal::testing
