#include "fake_ui.h"

#include <stdexcept>

namespace transzendal::testing {

std::optional<std::filesystem::path> FakeUi::ChooseSourceFile(const OpenFileDialog& dialog) {
  events.push_back("dialog:" + std::string(dialog.title));
  dialogs.push_back(dialog);
  if (file_answers.empty()) return std::nullopt;
  auto answer = file_answers.front();
  file_answers.pop_front();
  return answer;
}

void FakeUi::ShowMessage(std::string_view text) { events.push_back("message:" + std::string(text)); }

void FakeUi::SetBusy(bool busy) noexcept { events.push_back(busy ? "busy:on" : "busy:off"); }

std::optional<std::vector<std::size_t>> FakeUi::ChooseTimeFrames(
    std::span<const TimeFrameOption> options) {
  events.push_back("frames:" + std::to_string(options.size()));
  frame_options.assign(options.begin(), options.end());
  // A run that asks more often than the test expects would otherwise ask forever.
  if (frame_answers.empty()) throw std::logic_error("FakeUi: no time-frame answer left");
  auto answer = frame_answers.front();
  frame_answers.pop_front();
  return answer;
}

void FakeUi::FinishRun(const RunReport& report) {
  events.push_back("finish");
  finished_report = report;
}

void FakeUi::MissingFileEnd(std::string_view message) {
  events.push_back("missing:" + std::string(message));
}

}  // namespace transzendal::testing
