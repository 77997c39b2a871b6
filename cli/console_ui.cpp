#include "console_ui.h"

#include <algorithm>
#include <string>
#include <utility>

#include "command_line.h"
#include "messages.h"
#include "platform.h"
#include "run_report.h"
#include "text.h"
#include "time_frame_choice.h"

namespace transzendal::cli {

void StandardConsole::Out(std::string_view utf8) { platform::WriteStandardOutput(utf8); }

void StandardConsole::Err(std::string_view utf8) { platform::WriteStandardError(utf8); }

ConsoleUi::ConsoleUi(Console& console, std::filesystem::path xml_file,
                     std::vector<std::string> frames)
    : console_(console), xml_file_(std::move(xml_file)), frames_(std::move(frames)) {}

std::optional<std::filesystem::path> ConsoleUi::ChooseSourceFile(const OpenFileDialog& /*dialog*/) {
  return xml_file_;
}

void ConsoleUi::ShowMessage(std::string_view text) { console_.Out(std::string(text) + "\n"); }

void ConsoleUi::SetBusy(bool /*busy*/) noexcept {}

std::optional<std::vector<std::size_t>> ConsoleUi::ChooseTimeFrames(
    std::span<const TimeFrameOption> options) {
  std::string labels;
  for (const auto& option : options) {
    labels += (labels.empty() ? "" : ", ") + std::string(Trim(option.label));
  }
  if (frames_.empty()) {
    throw UsageError(msg::FillMessage(msg::kCliChooseFrames,
                                      {labels, options.empty() ? "" : Trim(options[0].label)}));
  }
  std::vector<std::size_t> selected;
  for (const std::string& frame : frames_) {
    const auto it = std::find_if(options.begin(), options.end(), [&](const TimeFrameOption& option) {
      return Trim(option.label) == Trim(frame);
    });
    if (it == options.end()) throw UsageError(msg::FillMessage(msg::kCliUnknownFrame, {frame, labels}));
    selected.push_back(static_cast<std::size_t>(it - options.begin()));
  }
  FrameChoiceVerdict verdict = CheckFrameChoice(selected);
  if (!verdict.valid) throw UsageError(verdict.message);
  return std::move(verdict.chosen);
}

void ConsoleUi::FinishRun(const RunReport& report) {
  console_.Out(std::string(msg::kProcessFinished) + "\n" + report.Summary());
}

void ConsoleUi::MissingFileEnd(std::string_view message) {
  console_.Err(std::string(message) + "\n");
}

}  // namespace transzendal::cli
