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

bool StandardConsole::IsInteractive() { return platform::IsInteractive(); }

std::optional<std::string> StandardConsole::ReadLine() { return platform::ReadStandardInputLine(); }

ConsoleUi::ConsoleUi(Console& console, std::filesystem::path xml_file,
                     std::vector<std::string> frames)
    : console_(console), xml_file_(std::move(xml_file)), frames_(std::move(frames)) {}

std::optional<std::filesystem::path> ConsoleUi::ChooseSourceFile(const OpenFileDialog& /*dialog*/) {
  return xml_file_;
}

void ConsoleUi::ShowMessage(std::string_view text) { console_.Out(std::string(text) + "\n"); }

void ConsoleUi::SetBusy(bool /*busy*/) noexcept {}

namespace {

std::string Labels(std::span<const TimeFrameOption> options) {
  std::string labels;
  for (const auto& option : options) {
    labels += (labels.empty() ? "" : ", ") + std::string(Trim(option.label));
  }
  return labels;
}

// The lines of `options` named by `ids`; nothing when one is not there, `unknown` naming it.
std::optional<std::vector<std::size_t>> Positions(std::span<const TimeFrameOption> options,
                                                  const std::vector<std::string>& ids,
                                                  std::string& unknown) {
  std::vector<std::size_t> selected;
  for (const std::string& id : ids) {
    const auto it = std::find_if(options.begin(), options.end(), [&](const TimeFrameOption& option) {
      return Trim(option.label) == Trim(id);
    });
    if (it == options.end()) {
      unknown = id;
      return std::nullopt;
    }
    selected.push_back(static_cast<std::size_t>(it - options.begin()));
  }
  return selected;
}

}  // namespace

std::optional<std::vector<std::size_t>> ConsoleUi::ChooseTimeFrames(
    std::span<const TimeFrameOption> options) {
  if (frames_.empty()) {
    if (console_.IsInteractive()) return AskForFrames(options);
    throw UsageError(msg::FillMessage(msg::kCliChooseFrames,
                                      {Labels(options), options.empty() ? "" : Trim(options[0].label)}));
  }
  std::string unknown;
  const auto selected = Positions(options, frames_, unknown);
  if (!selected) throw UsageError(msg::FillMessage(msg::kCliUnknownFrame, {unknown, Labels(options)}));
  FrameChoiceVerdict verdict = CheckFrameChoice(*selected);
  if (!verdict.valid) throw UsageError(verdict.message);
  return std::move(verdict.chosen);
}

std::optional<std::vector<std::size_t>> ConsoleUi::AskForFrames(
    std::span<const TimeFrameOption> options) {
  console_.Out(std::string(msg::kCliFramesHeading) + "\n");
  for (const auto& option : options) {
    console_.Out(msg::FillMessage(msg::kCliFrameLine, {Trim(option.label)}) + "\n");
    for (const auto& line : option.preview) console_.Out("    " + line + "\n");
  }
  console_.Out(std::string(msg::kCliFramesQuestion));
  const std::optional<std::string> answer = console_.ReadLine();
  if (!answer) throw UsageError(std::string(msg::kCliNoFramesAnswer));
  std::string unknown;
  const auto selected = Positions(options, SplitFrameIds(*answer), unknown);
  if (!selected) {
    console_.Out(msg::FillMessage(msg::kCliUnknownFrame, {unknown, Labels(options)}) + "\n");
    return std::nullopt;
  }
  FrameChoiceVerdict verdict = CheckFrameChoice(*selected);
  if (!verdict.valid) {
    console_.Out(verdict.message + "\n");
    return std::nullopt;
  }
  return std::move(verdict.chosen);
}

void ConsoleUi::FinishRun(const RunReport& report) {
  console_.Out(std::string(msg::kProcessFinished) + "\n" + report.Summary());
}

void ConsoleUi::MissingFileEnd(std::string_view message) {
  console_.Err(std::string(message) + "\n");
}

}  // namespace transzendal::cli
